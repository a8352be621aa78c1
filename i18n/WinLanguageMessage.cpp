#include "i18n/WinLanguageMessage.h"

#include "app/AppGlobals.h"
#include "i18n/Language.h"

namespace kw::i18n {

LRESULT SendLanguageMessage(HWND window, int languageIndex) {
    return ::SendMessageW(window, kLanguageMessage, static_cast<WPARAM>(kLanguageCode),
                          static_cast<LPARAM>(LanguageIndexToSend(languageIndex)));
}

void SendLanguageToMainWindow() {
    const HWND mainWindow = reinterpret_cast<HWND>(AppGlobals::Get(Slot::MainWindow));
    if (mainWindow) SendLanguageMessage(mainWindow, CurrentLanguageIndex());
}

}  // namespace kw::i18n
