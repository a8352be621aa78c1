#include "framework/WinApp.h"

#include "framework/RegKey.h"

#include <commctrl.h>

namespace kw::fw {

int CWinApp::Run(HINSTANCE instance, int /*showCommand*/) {
    m_instance = instance;
    const wchar_t* text = nullptr;
    // With a null buffer of length 0, LoadString hands back a read-only pointer to the resource text,
    // so a name of any length is taken whole and its blanks are kept exactly.
    const int length = ::LoadStringW(instance, kAppTitleStringId, reinterpret_cast<LPWSTR>(&text), 0);
    if (length > 0 && text != nullptr) m_appName.assign(text, static_cast<size_t>(length));

    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);

    if (InitInstance()) {
        // A dialog-based program never gets here; a window-based one would run its loop.
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        return static_cast<int>(msg.wParam);
    }
    return ExitInstance();
}

std::wstring CWinApp::SectionKeyPath(const wchar_t* section) const {
    return L"Software\\" + m_registryRoot + L"\\" + m_appName + L"\\" + section;
}

std::wstring CWinApp::GetProfileString(const wchar_t* section, const wchar_t* entry,
                                       const wchar_t* defaultValue) const {
    RegKey key;
    if (!m_registryRoot.empty() && key.Open(HKEY_CURRENT_USER, SectionKeyPath(section), KEY_READ)) {
        if (auto value = key.QueryString(entry)) return *value;
    }
    return defaultValue ? defaultValue : L"";
}

bool CWinApp::WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value) const {
    RegKey key;
    if (m_registryRoot.empty() || !key.Create(HKEY_CURRENT_USER, SectionKeyPath(section), KEY_READ | KEY_WRITE))
        return false;
    if (value == nullptr) return ::RegDeleteValueW(key.get(), entry) == ERROR_SUCCESS;
    return key.SetString(entry, value);
}

UINT CWinApp::GetProfileInt(const wchar_t* section, const wchar_t* entry, int defaultValue) const {
    RegKey key;
    if (!m_registryRoot.empty() && key.Open(HKEY_CURRENT_USER, SectionKeyPath(section), KEY_READ)) {
        if (auto value = key.QueryDword(entry)) return *value;
    }
    return static_cast<UINT>(defaultValue);
}

bool CWinApp::WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value) const {
    RegKey key;
    return !m_registryRoot.empty() &&
           key.Create(HKEY_CURRENT_USER, SectionKeyPath(section), KEY_READ | KEY_WRITE) &&
           key.SetDword(entry, static_cast<DWORD>(value));
}

}  // namespace kw::fw
