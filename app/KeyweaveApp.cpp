#include "app/KeyweaveApp.h"

#include "app/AppGlobals.h"
#include "app/KeyweaveDlg.h"

#include <gdiplus.h>

#include <vector>

namespace kw::app {

// GDI+ is available for the whole life of the program.
class GdiplusSession {
public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok) m_token = 0;
    }
    ~GdiplusSession() {
        if (m_token) Gdiplus::GdiplusShutdown(m_token);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR m_token = 0;
};

namespace {

// The module path at any length: a path past the classic limit is reported, never cut short.
std::wstring ModulePath() {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) return std::wstring(buf.data(), n);
        if (buf.size() >= 32768) return {};
        buf.resize(buf.size() * 2);
    }
}

}  // namespace

CKeyweaveApp::CKeyweaveApp() : m_gdiplus(std::make_unique<GdiplusSession>()) {}

CKeyweaveApp::~CKeyweaveApp() = default;

BOOL CKeyweaveApp::InitInstance() {
    SetRegistryKey(kRegistryRoot);

    const std::wstring modulePath = ModulePath();
    auto paths = ProgramPaths::FromModulePath(modulePath);
    if (!paths) {
        // The language file is beside the executable too, so this one message cannot come from it.
        ::MessageBoxW(nullptr,
                      L"Keyweave cannot start from this folder because its path is too long.\n"
                      L"Move the Keyweave folder to a folder with a shorter path and start it again.",
                      L"Keyweave", MB_OK | MB_ICONERROR);
        m_exitCode = 1;
        return FALSE;
    }
    m_paths = std::move(*paths);

    // Failures here are silent: the language choice then cannot be stored, and start-up goes on.
    constexpr REGSAM kAccess = KEY_READ | KEY_WRITE;
    if (!m_programKey.Open(HKEY_CURRENT_USER, kProgramKeyName, kAccess))
        m_programKey.Create(HKEY_CURRENT_USER, kProgramKeyName, kAccess);
    AppGlobals::SetPointer(Slot::ProgramKey, &m_programKey);

    m_workingStore = std::make_unique<model::ConfigStore>();
    m_appliedStore = std::make_unique<model::ConfigStore>();

    {
        CKeyweaveDlg dialog(*this);
        m_pMainWnd = &dialog;
        if (dialog.ShouldRun()) dialog.DoModal();
        m_pMainWnd = nullptr;
        // The dialog's destructor stops the device threads before the stores go away.
    }

    m_appliedStore.reset();
    m_workingStore.reset();
    // Let the desktop repaint where the layered main window was.
    ::InvalidateRect(nullptr, nullptr, TRUE);
    AppGlobals::SetPointer<fw::RegKey>(Slot::ProgramKey, nullptr);
    return FALSE;
}

}  // namespace kw::app
