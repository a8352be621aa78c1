#include "framework/ToolTipCtrl.h"

#include <commctrl.h>

#include <vector>

namespace kw::fw {

bool CToolTipCtrl::Create(HWND owner, DWORD style) {
    Destroy();
    m_hWnd = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    return m_hWnd != nullptr;
}

void CToolTipCtrl::Destroy() {
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

bool CToolTipCtrl::AddTool(HWND tool, UINT_PTR id, const RECT& rect, const std::wstring& text) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = tool;
    info.uId = id;
    info.rect = rect;
    info.lpszText = const_cast<wchar_t*>(text.c_str());  // the control keeps its own copy
    return ::SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

int CToolTipCtrl::GetToolCount() const {
    return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, TTM_GETTOOLCOUNT, 0, 0)) : 0;
}

void CToolTipCtrl::UpdateTipText(HWND tool, UINT_PTR id, const std::wstring& text) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = tool;
    info.uId = id;
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(m_hWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

std::wstring CToolTipCtrl::GetText(HWND tool, UINT_PTR id) const {
    std::vector<wchar_t> buffer(1024, L'\0');
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = tool;
    info.uId = id;
    info.lpszText = buffer.data();
    // The buffer's size is passed in wParam by newer controls and ignored by older ones; 1024 covers
    // what the older ones copy (80 characters).
    ::SendMessageW(m_hWnd, TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&info));
    return std::wstring(buffer.data());
}

void CToolTipCtrl::SetDelayTime(UINT milliseconds) {
    ::SendMessageW(m_hWnd, TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(milliseconds, 0));
}

UINT CToolTipCtrl::GetInitialDelay() const {
    return static_cast<UINT>(::SendMessageW(m_hWnd, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
}

void CToolTipCtrl::Activate(bool active) { ::SendMessageW(m_hWnd, TTM_ACTIVATE, active ? TRUE : FALSE, 0); }

void CToolTipCtrl::RelayEvent(MSG* msg) {
    if (m_hWnd) ::SendMessageW(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
}

void CToolTipCtrl::Update() {
    if (m_hWnd) ::SendMessageW(m_hWnd, TTM_UPDATE, 0, 0);
}

}  // namespace kw::fw
