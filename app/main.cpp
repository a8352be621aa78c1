#include "app/KeyweaveApp.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    kw::app::CKeyweaveApp app;
    return app.Run(instance, showCommand);
}
