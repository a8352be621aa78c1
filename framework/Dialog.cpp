#include "framework/Dialog.h"

#include "framework/SubclassWnd.h"

namespace kw::fw {

namespace {
// Messages whose dialog-procedure result is the value itself rather than a handled flag.
bool ReturnsValueDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: case WM_COMPAREITEM:
    case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_QUERYDRAGICON: case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}
}  // namespace

CDialog::~CDialog() { DestroyWindow(); }

bool CDialog::Create(CWnd* parent) {
    if (parent) m_parent = parent;
    m_modal = false;
    m_endRequested = false;
    HWND hwnd = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), ParentHwnd(),
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

INT_PTR CDialog::DoModal() {
    HWND parent = ParentHwnd();
    const bool reenableParent = parent && ::IsWindowEnabled(parent);
    m_modal = true;
    m_endRequested = false;
    m_result = -1;
    if (!::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), parent,
                              &CDialog::DialogProc, reinterpret_cast<LPARAM>(this))) {
        m_modal = false;
        return -1;
    }
    if (reenableParent) ::EnableWindow(parent, FALSE);

    MSG msg;
    while (!m_endRequested) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {  // WM_QUIT: leave, and let the outer loop see it too
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0) break;
        if (PreTranslateMessage(&msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }

    if (reenableParent) {
        ::EnableWindow(parent, TRUE);
        ::SetActiveWindow(parent);
    }
    DestroyWindow();
    m_modal = false;
    return m_result;
}

void CDialog::EndDialog(int result) {
    m_result = result;
    if (m_modal) {
        m_endRequested = true;
        if (m_hWnd) ::ShowWindow(m_hWnd, SW_HIDE);
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wake the loop if it waits
    } else {
        DestroyWindow();
    }
}

void CDialog::DestroyWindow() {
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    // Controls taken over by C++ objects look first, from the target up to this dialog.
    for (HWND hwnd = msg->hwnd; hwnd && hwnd != m_hWnd; hwnd = ::GetParent(hwnd)) {
        CSubclassWnd* control = CSubclassWnd::FromHandle(hwnd);
        if (control && control->PreTranslateMessage(msg)) return TRUE;
    }
    return m_hWnd && ::IsDialogMessageW(m_hWnd, msg);
}

bool CDialog::ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
    CDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lp);
        // DWLP_USER keeps the object; GWLP_USERDATA stays free for the program's own marks.
        ::SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->m_hWnd = hwnd;
    } else {
        self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    const INT_PTR handled = self->HandleMessage(message, wp, lp);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    return handled;
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    // Owner-draw, colour and notification messages go to the control that sent them first.
    if (CSubclassWnd::ReflectChildMessage(message, wp, lp, result) || ProcessWindowMessage(message, wp, lp, result)) {
        if (ReturnsValueDirectly(message)) return static_cast<INT_PTR>(result);
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED) {
            if (LOWORD(wp) == IDOK) { OnOK(); return TRUE; }
            if (LOWORD(wp) == IDCANCEL) { OnCancel(); return TRUE; }
        }
        break;
    default:
        break;
    }
    return FALSE;
}

}  // namespace kw::fw
