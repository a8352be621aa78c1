#include "framework/SubclassWnd.h"

#include <commctrl.h>

namespace kw::fw {

namespace {
constexpr UINT_PTR kSubclassId = 0x4B57;  // "KW"
constexpr const wchar_t* kObjectProperty = L"kw.fw.CSubclassWnd";

HWND ChildOfMessage(UINT message, WPARAM, LPARAM lp) {
    switch (message) {
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        return item && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;  // a menu's item is no window
    }
    case WM_NOTIFY:
        return lp ? reinterpret_cast<const NMHDR*>(lp)->hwndFrom : nullptr;
    case WM_CTLCOLORSTATIC: case WM_CTLCOLOREDIT: case WM_CTLCOLORBTN: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
        return reinterpret_cast<HWND>(lp);
    default:
        return nullptr;
    }
}
}  // namespace

CSubclassWnd::~CSubclassWnd() { Unsubclass(); }

bool CSubclassWnd::Subclass(HWND hwnd) {
    if (!hwnd || !::IsWindow(hwnd) || FromHandle(hwnd) != nullptr) return false;
    Unsubclass();
    m_hWnd = hwnd;
    PreSubclassWindow();
    if (!::SetWindowSubclass(hwnd, &CSubclassWnd::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        m_hWnd = nullptr;
        return false;
    }
    ::SetPropW(hwnd, kObjectProperty, this);
    return true;
}

void CSubclassWnd::Unsubclass() {
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ::RemoveWindowSubclass(m_hWnd, &CSubclassWnd::SubclassProc, kSubclassId);
        ::RemovePropW(m_hWnd, kObjectProperty);
    }
    m_hWnd = nullptr;
}

void CSubclassWnd::Detach() {
    ::RemoveWindowSubclass(m_hWnd, &CSubclassWnd::SubclassProc, kSubclassId);
    ::RemovePropW(m_hWnd, kObjectProperty);
    m_hWnd = nullptr;
}

CSubclassWnd* CSubclassWnd::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    DWORD pid = 0;
    if (::GetWindowThreadProcessId(hwnd, &pid) != ::GetCurrentThreadId()) return nullptr;
    return static_cast<CSubclassWnd*>(::GetPropW(hwnd, kObjectProperty));
}

bool CSubclassWnd::ReflectChildMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) {
    CSubclassWnd* child = FromHandle(ChildOfMessage(message, wp, lp));
    return child && child->ProcessWindowMessage(kReflectBase + message, wp, lp, result);
}

bool CSubclassWnd::ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CSubclassWnd::DefWindowProc(UINT message, WPARAM wp, LPARAM lp) {
    return ::DefSubclassProc(m_hWnd, message, wp, lp);
}

RECT CSubclassWnd::GetClientRect() const {
    RECT r{};
    ::GetClientRect(m_hWnd, &r);
    return r;
}

LRESULT CALLBACK CSubclassWnd::SubclassProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp, UINT_PTR,
                                            DWORD_PTR ref) {
    auto* self = reinterpret_cast<CSubclassWnd*>(ref);
    LRESULT result = 0;
    if (message == WM_NCDESTROY) {
        const LRESULT def = ::DefSubclassProc(hwnd, message, wp, lp);
        self->Detach();
        self->OnFinalMessage();
        return def;
    }
    if (self->ProcessWindowMessage(message, wp, lp, result)) return result;
    return ::DefSubclassProc(hwnd, message, wp, lp);
}

}  // namespace kw::fw
