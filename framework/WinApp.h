#pragma once
// The application object: InitInstance is the whole life of the program, as in a dialog-based
// application. It also carries the per-user settings store under
// HKEY_CURRENT_USER\Software\<root>\<application name>\<section>.
#include <windows.h>

#include <string>

namespace kw::fw {

class CWnd;

class CWinApp {
public:
    // The application name is string resource 57344 of the module (the classic application title).
    static constexpr UINT kAppTitleStringId = 57344;

    CWinApp() = default;
    virtual ~CWinApp() = default;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Loads the application name and runs InitInstance; the result is the process exit code.
    int Run(HINSTANCE instance, int showCommand);

    virtual BOOL InitInstance() = 0;
    // Exit code when InitInstance returns FALSE (the program ended by itself).
    virtual int ExitInstance() { return 0; }

    HINSTANCE Instance() const { return m_instance; }
    const std::wstring& AppName() const { return m_appName; }
    const std::wstring& RegistryRoot() const { return m_registryRoot; }

    void SetRegistryKey(const wchar_t* root) { m_registryRoot = root; }

    // Settings store. Reads give the default when the value (or the key) is missing.
    std::wstring GetProfileString(const wchar_t* section, const wchar_t* entry,
                                  const wchar_t* defaultValue = L"") const;
    bool WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value) const;
    UINT GetProfileInt(const wchar_t* section, const wchar_t* entry, int defaultValue) const;
    bool WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value) const;

    CWnd* m_pMainWnd = nullptr;

protected:
    std::wstring SectionKeyPath(const wchar_t* section) const;

private:
    HINSTANCE m_instance = nullptr;
    std::wstring m_appName;
    std::wstring m_registryRoot;
};

}  // namespace kw::fw
