#include "skin/HyperLink.h"

#include "framework/Gdi.h"
#include "skin/HyperlinkText.h"

#include <commctrl.h>
#include <shellapi.h>

namespace kw::skin {

namespace {
constexpr UINT_PTR kToolId = 1;
}

INT_PTR SystemHyperlinkShell::Open(HWND owner, const std::wstring& address) {
    return reinterpret_cast<INT_PTR>(::ShellExecuteW(owner, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

void SystemHyperlinkShell::ReportFailure(HWND owner, const std::wstring& text) {
    ::MessageBeep(MB_ICONEXCLAMATION);
    ::MessageBoxW(owner, text.c_str(), nullptr, MB_OK | MB_ICONEXCLAMATION);
}

void CHyperLink::PreSubclassWindow() {
    ModifyStyle(0, SS_NOTIFY);
    const std::wstring text = GetWindowText();
    if (m_url.empty()) m_url = text;
    if (text.empty() && !m_url.empty()) ::SetWindowTextW(m_hWnd, m_url.c_str());

    m_normalFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!m_normalFont) m_normalFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    if (!m_normalFont) m_normalFont = static_cast<HFONT>(::GetStockObject(ANSI_VAR_FONT));
    LOGFONTW description{};
    if (::GetObjectW(m_normalFont, sizeof(description), &description)) {
        description.lfUnderline = TRUE;
        m_underlinedFont.reset(::CreateFontIndirectW(&description));
    }
    if (!m_cursor) m_cursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));  // IDC_HAND
    ApplyFont();
    FitToText();
    if (m_tooltip.Create(m_hWnd, TTS_ALWAYSTIP)) {
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        m_tooltip.AddTool(m_hWnd, kToolId, client, m_url);
        m_tooltip.Activate(true);
    }
}

void CHyperLink::SetURL(const std::wstring& url) {
    m_url = url;
    if (!IsWindow()) return;
    FitToText();
    if (m_tooltip) m_tooltip.UpdateTipText(m_hWnd, kToolId, m_url);
}

void CHyperLink::SetUnderline(int mode) {
    m_underline = mode;
    if (IsWindow()) {
        ApplyFont();
        Repaint();
    }
}

void CHyperLink::SetVisited(bool visited) {
    m_visited = visited;
    if (IsWindow()) Repaint();
}

COLORREF CHyperLink::CurrentColour() const {
    if (m_hover) return kHoverColour;
    return m_visited ? kVisitedColour : kLinkColour;
}

bool CHyperLink::IsUnderlined() const {
    return m_underline == kUnderlineAlways || (m_underline == kUnderlineHover && m_hover);
}

void CHyperLink::ApplyFont() {
    HFONT font = IsUnderlined() && m_underlinedFont ? static_cast<HFONT>(m_underlinedFont.get()) : m_normalFont;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void CHyperLink::FitToText() {
    if (!m_adjustToFit || !IsWindow()) return;
    const std::wstring text = GetWindowText();
    fw::CClientDC dc(m_hWnd);
    fw::CSelectObject select(dc, m_underlinedFont ? m_underlinedFont.get() : m_normalFont);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    const int width = extent.cx;
    const int height = extent.cy;
    const LONG_PTR style = GetStyle();
    POINT origin{window.left, window.top};
    ::ScreenToClient(GetParent(), &origin);
    const int oldWidth = window.right - window.left;
    if ((style & SS_TYPEMASK) == SS_CENTER) origin.x += (oldWidth - width) / 2;
    if ((style & SS_TYPEMASK) == SS_RIGHT) origin.x += oldWidth - width;
    ::SetWindowPos(m_hWnd, nullptr, origin.x, origin.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CHyperLink::Repaint() const {
    HWND parent = GetParent();
    RECT r{};
    ::GetWindowRect(m_hWnd, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    ::RedrawWindow(parent, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool CHyperLink::Open() {
    const HWND owner = GetParent();
    if (!IsWebAddress(m_url)) {
        // Only web addresses are handed on: a skin must not be able to start programs.
        m_shell->ReportFailure(owner, HyperlinkFailureText(kRefusedAddressCode));
        return false;
    }
    const INT_PTR code = m_shell->Open(owner, std::wstring(TrimAddress(m_url)));
    if (code > 32) {
        SetVisited(true);
        return true;
    }
    m_shell->ReportFailure(owner, HyperlinkFailureText(static_cast<int>(code)));
    return false;
}

BOOL CHyperLink::PreTranslateMessage(MSG* msg) {
    if (m_tooltip) m_tooltip.RelayEvent(msg);
    return FALSE;
}

bool CHyperLink::ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (message) {
    case fw::kReflectBase + WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wp);
        ::SetTextColor(dc, CurrentColour());
        ::SetBkMode(dc, TRANSPARENT);
        result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
        return true;
    }
    case WM_SETCURSOR:
        if (m_cursor) {
            ::SetCursor(m_cursor);
            result = TRUE;
            return true;
        }
        return false;
    case WM_MOUSEMOVE:
        if (!m_hover) {
            m_hover = true;
            if (m_underline == kUnderlineHover) ApplyFont();
            Repaint();
            ::SetTimer(m_hWnd, kHoverTimer, kHoverPeriodMs, nullptr);
        }
        return false;
    case WM_TIMER:
        if (wp == kHoverTimer) {
            POINT cursor{};
            ::GetCursorPos(&cursor);
            RECT r{};
            ::GetWindowRect(m_hWnd, &r);
            if (!::PtInRect(&r, cursor)) {
                m_hover = false;
                ::KillTimer(m_hWnd, kHoverTimer);
                if (m_underline != kUnderlineAlways) ApplyFont();
                Repaint();
            }
            return true;
        }
        return false;
    case WM_LBUTTONUP:
        Open();
        return false;
    case WM_SETTEXT:
        result = DefWindowProc(message, wp, lp);
        FitToText();
        Repaint();
        return true;
    default:
        return false;
    }
}

}  // namespace kw::skin
