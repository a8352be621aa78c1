#include "skin/PngButton.h"

#include "framework/Gdi.h"
#include "skin/RotatedText.h"

#include <commctrl.h>

#include <vector>

namespace kw::skin {

namespace {
constexpr UINT_PTR kToolId = 1;
constexpr UINT kTooltipDelayMs = 300;
constexpr int kCaptionLength = 260;
}  // namespace

void CPngButton::PreSubclassWindow() {
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CPngButton::SetImages(int offsetX, int offsetY, const StateFaces& faces, bool redraw) {
    m_offsetX = offsetX;
    m_offsetY = offsetY;
    SetStateImages(faces, redraw);
}

void CPngButton::SetStateImages(const StateFaces& faces, bool redraw) {
    m_faces = faces;
    m_hover = m_tracking = m_pressed = false;
    if (redraw) Redraw();
}

void CPngButton::SetAlternateImages(const fw::CMemoryDC* a, const fw::CMemoryDC* b, bool alternate, bool chooseB,
                                    bool redraw) {
    m_alternateA = a;
    m_alternateB = b;
    m_alternate = alternate;
    m_chooseB = chooseB;
    m_hover = m_tracking = m_pressed = false;
    if (redraw) Redraw();
}

void CPngButton::SetSelected(bool selected, bool redraw) {
    m_selected = selected;
    if (redraw) Redraw();
}

void CPngButton::SetTextStyle(bool drawText, int size, const std::wstring& face, const std::array<COLORREF, 5>& colours,
                              UINT format) {
    m_drawText = drawText;
    m_fontSize = size;
    m_fontFace = face;
    m_textColours = colours;
    m_textFormat = format;
    if (IsWindow()) Invalidate(false);
}

void CPngButton::SetTextMargins(int left, int right, int top, int bottom) {
    m_textMargins = {left, top, right, bottom};
    if (IsWindow()) Invalidate(false);
}

void CPngButton::SetTextAngle(int tenthsOfDegree, bool rotated) {
    m_textAngle = tenthsOfDegree;
    m_rotated = rotated;
    if (IsWindow()) Invalidate(false);
}

void CPngButton::SetOutline(COLORREF colour, bool outline) {
    m_outlineColour = colour;
    m_outline = outline;
    Redraw();
}

ButtonFace CPngButton::ChooseFace() const {
    if (IsWindow() && (GetStyle() & WS_DISABLED)) return ButtonFace::Disabled;
    if (m_alternate) return m_chooseB ? ButtonFace::AlternateB : ButtonFace::AlternateA;
    if (m_pressed) return ButtonFace::Pressed;
    if (m_hover) return ButtonFace::Hover;
    if (m_selected) return ButtonFace::Selected;
    return ButtonFace::Normal;
}

const fw::CMemoryDC* CPngButton::SurfaceOf(ButtonFace face) const {
    switch (face) {
    case ButtonFace::Normal: return m_faces.normal;
    case ButtonFace::Hover: return m_faces.hover;
    case ButtonFace::Pressed: return m_faces.pressed;
    case ButtonFace::Disabled: return m_faces.disabled;
    case ButtonFace::Selected: return m_faces.selected;
    case ButtonFace::AlternateA: return m_alternateA;
    case ButtonFace::AlternateB: return m_alternateB;
    }
    return nullptr;
}

COLORREF CPngButton::ColourOf(ButtonFace face) const {
    switch (face) {
    case ButtonFace::Hover: return m_textColours[1];
    case ButtonFace::Pressed: return m_textColours[2];
    case ButtonFace::Disabled: return m_textColours[3];
    case ButtonFace::Selected: return m_textColours[4];
    default: return m_textColours[0];
    }
}

void CPngButton::Redraw() {
    if (!IsWindow()) return;
    fw::CClientDC dc(m_hWnd);
    Paint(dc);
}

void CPngButton::Paint(HDC dc) {
    const ButtonFace face = ChooseFace();
    const fw::CMemoryDC* surface = SurfaceOf(face);
    const RECT client = GetClientRect();
    if (m_outline) {
        fw::UniqueGdiObject pen(::CreatePen(PS_SOLID, 2, m_outlineColour));
        fw::CSelectObject selectPen(dc, pen.get());
        fw::CSelectObject selectBrush(dc, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(dc, 1, 1, client.right - 1, client.bottom - 1);
    } else if (surface && surface->GetSafeHdc()) {
        // The skin contract: a button at (x, y) shows the state pictures' pixels from (x - 1, y - 1).
        ::BitBlt(dc, 0, 0, client.right, client.bottom, surface->GetSafeHdc(), m_offsetX - 1, m_offsetY - 1, SRCCOPY);
    }
    m_lastSurface = surface;
    m_lastTextColour = ColourOf(face);
    if (m_drawText) DrawCaption(dc, m_lastTextColour);
    if (m_paintCallback) m_paintCallback(m_hWnd, face == ButtonFace::Normal);
}

void CPngButton::DrawCaption(HDC dc, COLORREF colour) {
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, colour);
    const int height = -::MulDiv(m_fontSize, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    fw::UniqueGdiObject font(::CreateFontW(height, 0, m_textAngle, 0, m_rotated ? 956 : FW_NORMAL, FALSE, FALSE, FALSE,
                                           ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0x20,
                                           m_fontFace.c_str()));
    fw::CSelectObject selectFont(dc, font.get());
    std::vector<wchar_t> buffer(kCaptionLength, L'\0');
    const int length = ::GetWindowTextW(m_hWnd, buffer.data(), kCaptionLength);
    RECT r = GetClientRect();
    r.left += m_textMargins.left;
    r.right += m_textMargins.right;
    r.top += m_textMargins.top;
    r.bottom += m_textMargins.bottom;
    if (m_rotated) {
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, buffer.data(), length, &extent);
        const SkinRect centred = CentreRotatedText({r.left, r.top, r.right, r.bottom}, m_textAngle, extent.cx, extent.cy);
        r = {centred.left, centred.top, centred.right, centred.bottom};
    }
    ::DrawTextW(dc, buffer.data(), length, &r, m_textFormat);
}

void CPngButton::CreateTooltip() {
    m_tooltip.Destroy();
    if (m_tooltipText.empty()) return;
    if (!m_tooltip.Create(m_hWnd, TTS_ALWAYSTIP)) return;
    m_tooltip.Activate(true);
    m_tooltip.AddTool(m_hWnd, kToolId, GetClientRect(), m_tooltipText);
    m_tooltip.SetDelayTime(kTooltipDelayMs);
}

void CPngButton::SetTooltip(const std::wstring& text, bool activate) {
    if (text.empty()) return;
    if (!m_tooltip && IsWindow()) {
        if (!m_tooltip.Create(m_hWnd, TTS_ALWAYSTIP)) return;
        m_tooltip.Activate(true);
    }
    m_tooltipText = text;
    if (!m_tooltip) return;
    if (m_tooltip.GetToolCount() == 0) m_tooltip.AddTool(m_hWnd, kToolId, GetClientRect(), text);
    m_tooltip.UpdateTipText(m_hWnd, kToolId, text);
    m_tooltip.SetDelayTime(kTooltipDelayMs);
    m_tooltip.Activate(activate);
}

BOOL CPngButton::PreTranslateMessage(MSG* msg) {
    // Two quick clicks are two clicks, not a click and a double-click.
    if (msg->message == WM_LBUTTONDBLCLK) msg->message = WM_LBUTTONDOWN;
    if (m_tooltip) m_tooltip.RelayEvent(msg);
    return FALSE;
}

bool CPngButton::ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (message) {
    case fw::kReflectBase + WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        m_pressed = (item->itemState & ODS_SELECTED) != 0;
        Paint(item->hDC);
        result = TRUE;
        return true;
    }
    case WM_ERASEBKGND:
        result = TRUE;
        return true;
    case WM_LBUTTONDBLCLK:
        // Also when the message is sent rather than posted through the dialog's loop.
        result = DefWindowProc(WM_LBUTTONDOWN, wp, lp);
        return true;
    case WM_MOUSEMOVE:
        if (!m_tracking) {
            TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE | TME_HOVER, m_hWnd, 1};
            m_tracking = ::TrackMouseEvent(&tme) != FALSE;
        }
        return false;
    case WM_MOUSEHOVER:
        m_hover = true;
        Invalidate(false);
        CreateTooltip();
        if (m_tooltip) m_tooltip.Update();
        return true;
    case WM_MOUSELEAVE:
        m_tracking = false;
        m_hover = false;
        Invalidate(false);
        return true;
    default:
        return false;
    }
}

}  // namespace kw::skin
