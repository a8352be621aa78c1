#pragma once
// Sending the language message (i18n/LanguageMessage.h) to windows. Windows only.
#include <windows.h>

namespace kw::i18n {

// Sends the message synchronously with "LANG" and the index (0 to 2 as it is, anything else 0);
// returns the window's answer.
LRESULT SendLanguageMessage(HWND window, int languageIndex);

// The main window's initialisation: the main window (AppGlobals slot 5) sets its texts in the
// current language. Nothing happens while there is no main window.
void SendLanguageToMainWindow();

}  // namespace kw::i18n
