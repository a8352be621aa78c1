#pragma once
// The program's only top-level window. It opens hidden and lives in the tray; a second start of the
// program, the tray or the keyboard's first connection shows it.
#include "app/KeyboardConnection.h"
#include "device/NamedEvents.h"
#include "framework/Dialog.h"
#include "framework/Handles.h"

namespace kw::app {

class CKeyweaveApp;

// Custom messages of the main window; each carries its four-letter code in wParam.
inline constexpr UINT kMsgKill = 0x4D4B;
inline constexpr WPARAM kCodeKill = 0x4C4C494B;  // "KILL"
inline constexpr UINT kMsgOpen = 0x5350;
inline constexpr WPARAM kCodeOpen = 0x4F50454E;  // "OPEN"
inline constexpr UINT kMsgInit = 0x4D4E;
inline constexpr WPARAM kCodeInit = 0x494E4954;  // "INIT"

class CKeyweaveDlg : public fw::CDialog {
public:
    explicit CKeyweaveDlg(CKeyweaveApp& app);
    ~CKeyweaveDlg() override;

    // False when this copy handed over to a running one (or was told to close it) and must end.
    bool ShouldRun() const { return m_shouldRun; }

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    bool ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override;

    int TrayIcon() const { return m_trayIcon; }

    // Ends the program: the only way the main window closes for good.
    void CloseRoutine();
    void ShowMainWindow();

private:
    void ApplySingleInstanceRule();
    void StartDaemon() const;

    LRESULT OnKillMessage(WPARAM wp, LPARAM lp);
    LRESULT OnOpenMessage(WPARAM wp, LPARAM lp);
    LRESULT OnInitMessage(WPARAM wp, LPARAM lp);
    LRESULT OnNcPaint(WPARAM wp, LPARAM lp);
    LRESULT OnQueryDragIcon(WPARAM wp, LPARAM lp);
    LRESULT OnKeyboardReady(WPARAM wp, LPARAM lp);
    LRESULT OnKeyboardGone(WPARAM wp, LPARAM lp);
    LRESULT OnStartTimer(WPARAM wp, LPARAM lp);
    LRESULT OnTrayIconRequest(WPARAM wp, LPARAM lp);
    LRESULT OnTimer(WPARAM wp, LPARAM lp);

    CKeyweaveApp& m_app;
    HICON m_icon = nullptr;  // shared resource icon, never destroyed
    fw::UniqueHandle m_instanceMutex;
    device::NamedEvents m_namedEvents;
    std::unique_ptr<KeyboardConnection> m_keyboard;
    int m_trayIcon = 128;  // the icon the tray shows now
    bool m_shouldRun = true;
    bool m_applyEnabled = false;
    int m_ncPaintsToHide = 2;
    bool m_startupHidePending = true;
};

}  // namespace kw::app
