#include "app/KeyweaveDlg.h"

#include "app/AppGlobals.h"
#include "app/CommandLine.h"
#include "app/KeyweaveApp.h"
#include "app/RunningInstance.h"
#include "device/CommandChannel.h"
#include "i18n/Language.h"
#include "resources/resource.h"

#include <shellapi.h>

#include <array>
#include <vector>

namespace kw::app {

namespace {

constexpr const wchar_t* kInstanceMutexName = L"QT07M41C";
// A first copy that is still starting has not marked its window yet; wait this long for it.
constexpr DWORD kHandOverWaitMs = 5000;
// "/Kill" must not hang on a running copy that does not answer.
constexpr UINT kKillTimeoutMs = 10000;

std::vector<std::wstring> Arguments() {
    std::vector<std::wstring> args;
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!argv) return args;
    for (int i = 1; i < count; ++i) args.emplace_back(argv[i]);
    ::LocalFree(argv);
    return args;
}

HWND WaitForRunningMainWindow(const std::wstring& exeFileName, DWORD waitMs) {
    const ULONGLONG until = ::GetTickCount64() + waitMs;
    for (;;) {
        if (HWND hwnd = FindRunningMainWindow(exeFileName)) return hwnd;
        if (::GetTickCount64() >= until) return nullptr;
        ::Sleep(50);
    }
}

}  // namespace

CKeyweaveDlg::CKeyweaveDlg(CKeyweaveApp& app) : fw::CDialog(IDD_KEYWEAVE_DIALOG), m_app(app) {
    m_icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME),
                                             IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    ApplySingleInstanceRule();
}

CKeyweaveDlg::~CKeyweaveDlg() {
    if (m_keyboard) m_keyboard->Stop();
    AppGlobals::Set(Slot::MainWindow, 0);
    AppGlobals::Set(Slot::MainObject, 0);
    AppGlobals::Set(Slot::InstanceMutex, 0);
}

void CKeyweaveDlg::ApplySingleInstanceRule() {
    AppGlobals::Set(Slot::StartHidden, 0);
    const std::wstring& exeName = m_app.Paths().exeFileName;

    const SwitchOutcome switches = ApplySwitches(Arguments(), [&exeName] {
        HWND running = FindRunningMainWindow(exeName);
        if (!running) return false;
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(running, kMsgKill, kCodeKill, 0, SMTO_ABORTIFHUNG, kKillTimeoutMs, &ignored);
        return true;
    });
    if (switches.startHidden) AppGlobals::Set(Slot::StartHidden, 1);
    if (switches.endProcess) {
        m_shouldRun = false;
        return;
    }

    // One call creates or opens the mutex, so two quick starts cannot both see it missing.
    m_instanceMutex.reset(::CreateMutexW(nullptr, TRUE, kInstanceMutexName));
    const bool existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
    AppGlobals::Set(Slot::InstanceMutex, reinterpret_cast<intptr_t>(m_instanceMutex.get()));
    if (existed) {
        if (HWND running = WaitForRunningMainWindow(exeName, kHandOverWaitMs)) {
            // Posted, not sent: the running copy may answer with a message box, and this copy must not
            // wait for someone to close it.
            DWORD pid = 0;
            ::GetWindowThreadProcessId(running, &pid);
            ::AllowSetForegroundWindow(pid);
            ::PostMessageW(running, kMsgOpen, kCodeOpen, 0);
            m_shouldRun = false;
            return;
        }
        // No running window answers: this copy carries on as the first one, keeping the mutex handle.
    }

    StartDaemon();
    m_applyEnabled = false;
}

void CKeyweaveDlg::StartDaemon() const {
    const std::wstring& daemon = m_app.Paths().daemonPath;
    if (::GetFileAttributesW(daemon.c_str()) == INVALID_FILE_ATTRIBUTES) return;  // optional companion
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = daemon.c_str();
    info.lpParameters = L"";
    info.lpDirectory = L"";
    info.nShow = SW_HIDE;
    ::ShellExecuteExW(&info);
}

BOOL CKeyweaveDlg::OnInitDialog() {
    HMENU systemMenu = ::GetSystemMenu(m_hWnd, FALSE);
    wchar_t about[64] = {};
    if (systemMenu && ::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUTBOX, about, 64) > 0) {
        ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(systemMenu, MF_STRING, 16, about);
    }
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));

    AppGlobals::Set(Slot::MainWindow, reinterpret_cast<intptr_t>(m_hWnd));
    AppGlobals::SetPointer(Slot::MainObject, this);
    AppGlobals::Set(Slot::ActiveProfile, -1);

    m_keyboard = std::make_unique<KeyboardConnection>();
    m_keyboard->Start(m_hWnd);
    if (const std::string& why = device::ProcessHidBackendError(); !why.empty()) {
        // The owner asked for the virtual keyboard and cannot have it: say so rather than show an empty program.
        ::MessageBoxA(nullptr, ("Keyweave cannot use the virtual keyboard: " + why).c_str(), "Keyweave",
                      MB_OK | MB_ICONWARNING);
    }

    // In the tray the window has no taskbar button.
    ModifyStyleEx(WS_EX_APPWINDOW, WS_EX_TOOLWINDOW);
    ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, kMainWindowMark);
    ModifyStyle(0, WS_MINIMIZEBOX | WS_SYSMENU);
    SetWindowText(i18n::LangText(L"MAIN_CAPTION", i18n::CurrentLanguageIndex()));
    m_namedEvents.Create();

    PostMessage(kMsgInit, kCodeInit, 0);
    return TRUE;
}

bool CKeyweaveDlg::ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) {
    static constexpr std::array<fw::MessageEntry<CKeyweaveDlg>, 10> kTable{{
        fw::OnMessage(kMsgKill, &CKeyweaveDlg::OnKillMessage),
        fw::OnMessage(kMsgOpen, &CKeyweaveDlg::OnOpenMessage),
        fw::OnMessage(kMsgInit, &CKeyweaveDlg::OnInitMessage),
        fw::OnMessage(kMsgKeyboardReady, &CKeyweaveDlg::OnKeyboardReady),
        fw::OnMessage(kMsgKeyboardGone, &CKeyweaveDlg::OnKeyboardGone),
        fw::OnMessage(kMsgStartTimer, &CKeyweaveDlg::OnStartTimer),
        fw::OnMessage(kMsgTrayIcon, &CKeyweaveDlg::OnTrayIconRequest),
        fw::OnMessage(WM_TIMER, &CKeyweaveDlg::OnTimer),
        fw::OnMessage(WM_NCPAINT, &CKeyweaveDlg::OnNcPaint),
        fw::OnMessage(WM_QUERYDRAGICON, &CKeyweaveDlg::OnQueryDragIcon),
    }};
    return fw::DispatchMessageTable<CKeyweaveDlg>(*this, kTable, message, wp, lp, result) ||
           fw::CDialog::ProcessWindowMessage(message, wp, lp, result);
}

BOOL CKeyweaveDlg::PreTranslateMessage(MSG* msg) {
    // The main window never closes or applies on Enter or Escape.
    if ((msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) &&
        (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
        return TRUE;
    return fw::CDialog::PreTranslateMessage(msg);
}

void CKeyweaveDlg::OnOK() { ShowWindow(SW_HIDE); }

// Cancel, Alt+F4 and the system close command only hide the window; the program stays in the tray.
void CKeyweaveDlg::OnCancel() { ShowWindow(SW_HIDE); }

void CKeyweaveDlg::ShowMainWindow() {
    if (AppGlobals::Get(Slot::KeyboardReady) != 0) {
        // A request to show wins over the hiding that belongs to start-up, whichever comes first.
        m_ncPaintsToHide = 0;
        m_startupHidePending = false;
        ModifyStyleEx(WS_EX_TOOLWINDOW, WS_EX_APPWINDOW);
        ShowWindow(SW_SHOWNORMAL);
        ::SetForegroundWindow(m_hWnd);
        return;
    }
    ::MessageBoxW(m_hWnd, i18n::LangText(L"MAIN_NO_DEVICE_PROMPT", i18n::CurrentLanguageIndex()).c_str(), L"",
                  MB_OK);
}

void CKeyweaveDlg::CloseRoutine() {
    ShowWindow(SW_HIDE);
    // The device threads end first: nothing they use may go away while they run.
    if (m_keyboard) m_keyboard->Stop();
    m_instanceMutex.reset();
    AppGlobals::Set(Slot::InstanceMutex, 0);
    m_namedEvents.Close();
    m_applyEnabled = false;
    EndDialog(IDCANCEL);
}

LRESULT CKeyweaveDlg::OnKillMessage(WPARAM wp, LPARAM) {
    if (wp == kCodeKill) CloseRoutine();
    return 0;
}

LRESULT CKeyweaveDlg::OnOpenMessage(WPARAM wp, LPARAM) {
    if (wp == kCodeOpen) ShowMainWindow();
    return 0;
}

LRESULT CKeyweaveDlg::OnInitMessage(WPARAM wp, LPARAM) {
    if (wp == kCodeInit && m_startupHidePending) ShowWindow(SW_HIDE);
    m_startupHidePending = false;
    return 0;
}

LRESULT CKeyweaveDlg::OnNcPaint(WPARAM wp, LPARAM lp) {
    if (m_ncPaintsToHide > 0) {
        --m_ncPaintsToHide;
        ShowWindow(SW_HIDE);
        return 0;
    }
    return ::DefWindowProcW(m_hWnd, WM_NCPAINT, wp, lp);
}

LRESULT CKeyweaveDlg::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_icon); }

LRESULT CKeyweaveDlg::OnKeyboardReady(WPARAM wp, LPARAM) {
    if (wp != kCodeProf) return 0;
    m_applyEnabled = false;
    return 0;
}

LRESULT CKeyweaveDlg::OnKeyboardGone(WPARAM, LPARAM) { return 0; }

LRESULT CKeyweaveDlg::OnStartTimer(WPARAM wp, LPARAM) {
    SetTimer(wp, 0);
    return 0;
}

LRESULT CKeyweaveDlg::OnTrayIconRequest(WPARAM wp, LPARAM) {
    m_trayIcon = static_cast<int>(wp);
    return 0;
}

LRESULT CKeyweaveDlg::OnTimer(WPARAM wp, LPARAM) {
    switch (wp) {
    case device::kTimerRefreshPanels:
    case device::kTimerReloadUserLighting:
        KillTimer(wp);  // one-shot
        break;
    default:
        break;
    }
    return 0;
}

}  // namespace kw::app
