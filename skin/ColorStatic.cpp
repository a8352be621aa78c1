#include "skin/ColorStatic.h"

namespace kw::skin {

void ColorStatic::SetTextColor(COLORREF colour) {
    m_textColour = colour;
    RedrawWithBackground();
}

void ColorStatic::SetFontHeight(int height) {
    HFONT current = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (!current) current = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW description{};
    if (!::GetObjectW(current, sizeof(description), &description)) return;
    description.lfHeight = -height;
    fw::UniqueGdiObject font(::CreateFontIndirectW(&description));
    if (!font) return;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    m_font = std::move(font);  // the old font is released only after the control let go of it
    RedrawWithBackground();
}

void ColorStatic::RedrawWithBackground() const {
    if (!IsWindow()) return;
    HWND parent = GetParent();
    RECT r{};
    ::GetWindowRect(m_hWnd, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    ::RedrawWindow(parent, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool ColorStatic::ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (message) {
    case fw::kReflectBase + WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wp);
        ::SetTextColor(dc, m_textColour);
        ::SetBkMode(dc, TRANSPARENT);
        result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
        return true;
    }
    case WM_SETTEXT:
        result = DefWindowProc(message, wp, lp);
        RedrawWithBackground();
        return true;
    default:
        return false;
    }
}

}  // namespace kw::skin
