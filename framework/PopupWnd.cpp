#include "framework/PopupWnd.h"

namespace kw::fw {

namespace {
constexpr const wchar_t* kClassName = L"KwPopupWnd";

bool EnsureClass(HINSTANCE instance) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(instance, kClassName, &existing)) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DROPSHADOW | CS_SAVEBITS;
    wc.lpfnWndProc = ::DefWindowProcW;  // replaced per window at creation
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.lpszClassName = kClassName;
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
}  // namespace

bool CPopupWnd::CreatePopup(HWND owner, const RECT& r, DWORD style, DWORD exStyle) {
    DestroyWindow();
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!EnsureClass(instance)) return false;
    HWND hwnd = ::CreateWindowExW(exStyle, kClassName, L"", style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                  owner, nullptr, instance, nullptr);
    if (!hwnd) return false;
    m_hWnd = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CPopupWnd::WindowProc));
    return true;
}

void CPopupWnd::DestroyWindow() {
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

bool CPopupWnd::ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CALLBACK CPopupWnd::WindowProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<CPopupWnd*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcW(hwnd, message, wp, lp);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        self->OnFinalMessage();
        return ::DefWindowProcW(hwnd, message, wp, lp);
    }
    LRESULT result = 0;
    if (self->ProcessWindowMessage(message, wp, lp, result)) return result;
    return ::DefWindowProcW(hwnd, message, wp, lp);
}

}  // namespace kw::fw
