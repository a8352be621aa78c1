#include "framework/ColorButton.h"

#include "framework/ColorDialog.h"
#include "framework/Gdi.h"

#include <windowsx.h>

#include <algorithm>
#include <array>

namespace kw::fw {

namespace {

// The palette a colour button starts with: five rows of eight, dark to light.
constexpr std::array<COLORREF, 40> kDefaultPalette = {
    RGB(0, 0, 0),       RGB(153, 51, 0),    RGB(51, 51, 0),     RGB(0, 51, 0),
    RGB(0, 51, 102),    RGB(0, 0, 128),     RGB(51, 51, 153),   RGB(51, 51, 51),
    RGB(128, 0, 0),     RGB(255, 102, 0),   RGB(128, 128, 0),   RGB(0, 128, 0),
    RGB(0, 128, 128),   RGB(0, 0, 255),     RGB(102, 102, 153), RGB(128, 128, 128),
    RGB(255, 0, 0),     RGB(255, 153, 0),   RGB(153, 204, 0),   RGB(51, 153, 102),
    RGB(51, 204, 204),  RGB(51, 102, 255),  RGB(128, 0, 128),   RGB(153, 153, 153),
    RGB(255, 0, 255),   RGB(255, 204, 0),   RGB(255, 255, 0),   RGB(0, 255, 0),
    RGB(0, 255, 255),   RGB(0, 204, 255),   RGB(153, 51, 102),  RGB(192, 192, 192),
    RGB(255, 153, 204), RGB(255, 204, 153), RGB(255, 255, 153), RGB(204, 255, 204),
    RGB(204, 255, 255), RGB(153, 204, 255), RGB(204, 153, 255), RGB(255, 255, 255),
};

constexpr int kMargin = 4;
constexpr int kTextRowHeight = 22;

void FillSolid(HDC dc, const RECT& r, COLORREF colour) {
    UniqueGdiObject brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}

}  // namespace

std::optional<COLORREF> SystemColorChooser::Choose(HWND owner, COLORREF initial) {
    CColorDialog dialog(initial == kAutomaticColor ? RGB(0, 0, 0) : initial);
    if (!dialog.DoModal(owner)) return std::nullopt;
    return dialog.GetColor();
}

// ---- pop-up -----------------------------------------------------------------------------------

int CColorPopup::Rows() const {
    const int columns = std::max(1, m_button.GetColumnsNumber());
    return (static_cast<int>(m_button.GetPalette().size()) + columns - 1) / columns;
}

SIZE CColorPopup::ClientSize() const {
    const int columns = std::max(1, m_button.GetColumnsNumber());
    int height = 2 * kMargin + Rows() * kCellSize;
    if (m_button.IsAutomaticEnabled()) height += kTextRowHeight + kMargin;
    if (m_button.IsOtherEnabled()) height += kTextRowHeight + kMargin;
    return {2 * kMargin + columns * kCellSize, height};
}

RECT CColorPopup::ItemRect(int item) const {
    const int columns = std::max(1, m_button.GetColumnsNumber());
    const SIZE size = ClientSize();
    int top = kMargin;
    if (m_button.IsAutomaticEnabled()) {
        if (item == kAutomaticItem) return {kMargin, top, size.cx - kMargin, top + kTextRowHeight};
        top += kTextRowHeight + kMargin;
    }
    const int count = static_cast<int>(m_button.GetPalette().size());
    if (item >= 0 && item < count) {
        const int x = kMargin + (item % columns) * kCellSize;
        const int y = top + (item / columns) * kCellSize;
        return {x, y, x + kCellSize, y + kCellSize};
    }
    top += Rows() * kCellSize + kMargin;
    if (item == kOtherItem && m_button.IsOtherEnabled()) return {kMargin, top, size.cx - kMargin, top + kTextRowHeight};
    return {0, 0, 0, 0};
}

int CColorPopup::ItemAt(POINT p) const {
    const int count = static_cast<int>(m_button.GetPalette().size());
    for (int item = kOtherItem; item < count; ++item) {
        const RECT r = ItemRect(item);
        if (::PtInRect(&r, p)) return item;
    }
    return kNoItem;
}

bool CColorPopup::Open(const RECT& b) {
    const SIZE size = ClientSize();
    RECT r{b.left, b.bottom, b.left + size.cx, b.bottom + size.cy};
    ::AdjustWindowRectEx(&r, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    // Keep the pop-up on the monitor: above the button when there is no room below.
    HMONITOR monitor = ::MonitorFromRect(&b, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoW(monitor, &info)) {
        const int h = r.bottom - r.top;
        const int w = r.right - r.left;
        if (r.bottom > info.rcWork.bottom) ::OffsetRect(&r, 0, (b.top - h) - r.top);
        if (r.right > info.rcWork.right) ::OffsetRect(&r, info.rcWork.right - w - r.left, 0);
        if (r.left < info.rcWork.left) ::OffsetRect(&r, info.rcWork.left - r.left, 0);
    }
    if (!CreatePopup(m_button.GetSafeHwnd(), r)) return false;
    m_highlight = kNoItem;
    m_closing = false;
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetCapture(m_hWnd);
    return true;
}

void CColorPopup::Paint(HDC dc) const {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    FillSolid(dc, client, ::GetSysColor(COLOR_MENU));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_MENUTEXT));
    CSelectObject font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    const auto drawTextItem = [&](int item, const std::wstring& label, COLORREF swatch) {
        RECT r = ItemRect(item);
        if (item == m_highlight) FillSolid(dc, r, ::GetSysColor(COLOR_HIGHLIGHT));
        ::FrameRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
        if (swatch != kAutomaticColor) {
            RECT s{r.left + 4, r.top + 4, r.left + 18, r.bottom - 4};
            FillSolid(dc, s, swatch);
            ::FrameRect(dc, &s, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
            r.left += 22;
        }
        ::DrawTextW(dc, label.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    };
    if (m_button.IsAutomaticEnabled()) drawTextItem(kAutomaticItem, m_button.AutomaticLabel(), m_button.GetAutomaticColor());
    const auto& palette = m_button.GetPalette();
    for (int i = 0; i < static_cast<int>(palette.size()); ++i) {
        const RECT cell = ItemRect(i);
        if (i == m_highlight || palette[static_cast<size_t>(i)] == m_button.GetColor())
            FillSolid(dc, cell, ::GetSysColor(i == m_highlight ? COLOR_HIGHLIGHT : COLOR_BTNSHADOW));
        RECT swatch = cell;
        ::InflateRect(&swatch, -3, -3);
        FillSolid(dc, swatch, palette[static_cast<size_t>(i)]);
        ::FrameRect(dc, &swatch, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
    }
    if (m_button.IsOtherEnabled()) drawTextItem(kOtherItem, m_button.OtherLabel(), kAutomaticColor);
}

void CColorPopup::Choose(int item) {
    // Giving up the capture and going away both report a capture change: one choice only.
    if (m_closing) return;
    m_closing = true;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    DestroyWindow();
    m_button.OnPopupChoice(item);
}

bool CColorPopup::ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (message) {
    case WM_PAINT: {
        CPaintDC dc(m_hWnd);
        Paint(dc);
        return true;
    }
    case WM_ERASEBKGND:
        result = TRUE;
        return true;
    case WM_MOUSEMOVE: {
        const int item = ItemAt({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        if (item != m_highlight) {
            m_highlight = item;
            ::InvalidateRect(m_hWnd, nullptr, FALSE);
        }
        return true;
    }
    case WM_LBUTTONDOWN: {
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        if (!::PtInRect(&client, p)) Choose(kNoItem);  // a click elsewhere closes the pop-up
        return true;
    }
    case WM_LBUTTONUP: {
        const int item = ItemAt({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        if (item != kNoItem) Choose(item);
        return true;
    }
    case WM_KEYDOWN:
        if (wp == VK_ESCAPE) Choose(kNoItem);
        return true;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != m_hWnd && m_hWnd) Choose(kNoItem);
        return true;
    default:
        return false;
    }
}

// ---- button -----------------------------------------------------------------------------------

CColorButton::CColorButton() : m_palette(kDefaultPalette.begin(), kDefaultPalette.end()), m_chooser(&m_systemChooser) {}

CColorButton::~CColorButton() { ClosePopup(); }

void CColorButton::PreSubclassWindow() { ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW); }

void CColorButton::SetColor(COLORREF color) {
    m_color = color;
    if (IsWindow()) Invalidate(false);
}

void CColorButton::SetPalette(std::vector<COLORREF> colors) { m_palette = std::move(colors); }

void CColorButton::SetColumnsNumber(int columns) { m_columns = std::clamp(columns, 1, 64); }

void CColorButton::EnableAutomaticButton(const std::wstring& label, COLORREF automatic, bool enable) {
    m_automaticLabel = label;
    m_automaticColor = automatic;
    m_automaticEnabled = enable;
}

void CColorButton::EnableOtherButton(const std::wstring& label, bool altColorDialog, bool enable) {
    m_otherLabel = label;
    m_altColorDialog = altColorDialog;
    m_otherEnabled = enable;
}

void CColorButton::OpenPopup() {
    if (!IsWindow() || !::IsWindowEnabled(m_hWnd) || (m_popup && m_popup->IsWindow())) return;
    m_popup = std::make_unique<CColorPopup>(*this);
    RECT r{};
    ::GetWindowRect(m_hWnd, &r);
    m_popup->Open(r);
    OnPopupOpened();
    Invalidate(false);
}

void CColorButton::ClosePopup() {
    if (m_popup) m_popup->DestroyWindow();
}

void CColorButton::OnPopupChoice(int item) {
    if (item == CColorPopup::kNoItem) {
        Invalidate(false);
        return;
    }
    if (item == CColorPopup::kAutomaticItem) {
        SetColor(kAutomaticColor);
    } else if (item == CColorPopup::kOtherItem) {
        const std::optional<COLORREF> chosen = m_chooser->Choose(GetParent(), GetShownColor());
        if (!chosen) {
            Invalidate(false);
            return;
        }
        SetColor(*chosen);
    } else if (item >= 0 && item < static_cast<int>(m_palette.size())) {
        SetColor(m_palette[static_cast<size_t>(item)]);
    } else {
        return;
    }
    NotifyParent();
}

void CColorButton::NotifyParent() {
    ::SendMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED), reinterpret_cast<LPARAM>(m_hWnd));
}

void CColorButton::DrawFace(HDC dc, const RECT& rect, UINT state) {
    ::DrawFrameControl(dc, const_cast<RECT*>(&rect), DFC_BUTTON, DFCS_BUTTONPUSH | ((state & ODS_SELECTED) ? DFCS_PUSHED : 0));
    RECT swatch = rect;
    ::InflateRect(&swatch, -4, -4);
    if (!(state & ODS_DISABLED)) FillSolid(dc, swatch, GetShownColor());
    ::FrameRect(dc, &swatch, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
}

void CColorButton::DrawFocus(HDC dc, const RECT& rect) {
    RECT focus = rect;
    ::InflateRect(&focus, -2, -2);
    ::DrawFocusRect(dc, &focus);
}

bool CColorButton::ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (message) {
    case kReflectBase + WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        DrawFace(item->hDC, item->rcItem, item->itemState);
        if ((item->itemState & ODS_FOCUS) && !(item->itemState & ODS_NOFOCUSRECT)) DrawFocus(item->hDC, item->rcItem);
        result = TRUE;
        return true;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        ::SetFocus(m_hWnd);
        OpenPopup();
        return true;
    case WM_KEYDOWN:
        if (wp == VK_SPACE || wp == VK_RETURN || wp == VK_DOWN || wp == VK_F4) {
            OpenPopup();
            return true;
        }
        return false;
    case WM_GETDLGCODE:
        // Enter opens the pop-up instead of pressing the dialog's default button.
        result = DefWindowProc(message, wp, lp) | DLGC_WANTALLKEYS;
        if (lp && reinterpret_cast<const MSG*>(lp)->wParam == VK_TAB) result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
        return true;
    default:
        return false;
    }
}

}  // namespace kw::fw
