#include "app/MainWindowLink.h"

#include "app/KeyweaveDlg.h"
#include "i18n/Language.h"

namespace kw::app {

void MainWindowLink::KeyboardReady() {
    if (!m_detached) ::SendMessageW(m_window, kMsgKeyboardReady, kCodeProf, 0);
}

void MainWindowLink::KeyboardGone() {
    if (m_detached) return;
    ::SendMessageW(m_window, kMsgKeyboardGone, 0, 0);
    ::ShowWindow(m_window, SW_HIDE);
}

void MainWindowLink::OpenMainWindow() {
    if (!m_detached) ::PostMessageW(m_window, kMsgOpen, kCodeOpen, 0);
}

void MainWindowLink::ShowMessage(const std::wstring& textKey) {
    if (m_detached) return;
    // Shown from the device thread, without an owner: attaching it to the main window would tie the
    // two threads' input together.
    ::MessageBoxW(nullptr, i18n::LangText(textKey, i18n::CurrentLanguageIndex()).c_str(), L"",
                  MB_OK | MB_SETFOREGROUND);
}

void MainWindowLink::SetTrayIcon(int iconId) {
    if (iconId == device::kIconConnected || iconId == device::kIconDisconnected) m_lastConnectionIcon = iconId;
    if (!m_detached) ::PostMessageW(m_window, kMsgTrayIcon, static_cast<WPARAM>(iconId), 0);
}

void MainWindowLink::ShowActivity(bool active) {
    const int icon = active ? device::kIconActivity : m_lastConnectionIcon.load();
    if (!m_detached) ::PostMessageW(m_window, kMsgTrayIcon, static_cast<WPARAM>(icon), 0);
}

void MainWindowLink::StartTimer(unsigned timerId) {
    if (!m_detached) ::PostMessageW(m_window, kMsgStartTimer, timerId, 0);
}

}  // namespace kw::app
