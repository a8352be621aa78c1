#include "skin/SkinColorBtn.h"

#include "framework/Gdi.h"
#include "skin/ColorButtonGeometry.h"

namespace kw::skin {

namespace {
RECT ToRect(const SkinRect& r) { return {r.left, r.top, r.right, r.bottom}; }

void Fill(HDC dc, const RECT& r, COLORREF colour) {
    fw::UniqueGdiObject brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}
}  // namespace

void CSkinColorBtn::DrawFace(HDC dc, const RECT& rect, UINT state) {
    const ColorButtonFace face = LayOutColorButton({rect.left, rect.top, rect.right, rect.bottom});
    const RECT swatch = ToRect(face.swatch);
    if (!(state & ODS_DISABLED)) Fill(dc, swatch, GetShownColor());
    fw::UniqueGdiObject frame(::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW)));
    ::FrameRect(dc, &swatch, static_cast<HBRUSH>(frame.get()));

    Fill(dc, ToRect(face.dropDown), kDropDownColour);
    POINT triangle[3];
    for (size_t i = 0; i < 3; ++i) triangle[i] = {face.triangle[i].x, face.triangle[i].y};
    fw::CSelectObject pen(dc, ::GetStockObject(BLACK_PEN));
    fw::CSelectObject brush(dc, ::GetStockObject(BLACK_BRUSH));
    ::Polygon(dc, triangle, 3);
}

void CSkinColorBtn::DrawFocus(HDC dc, const RECT& rect) {
    const RECT focus = ToRect(LayOutColorButton({rect.left, rect.top, rect.right, rect.bottom}).focus);
    ::DrawFocusRect(dc, &focus);
}

bool CSkinColorBtn::ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (message) {
    case WM_MOUSEMOVE: {
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE | TME_HOVER, m_hWnd, 0};
        ::TrackMouseEvent(&tme);
        break;
    }
    case WM_MOUSELEAVE:
        Invalidate(false);
        break;
    case WM_KILLFOCUS:
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
        SendMessage(BM_SETSTATE, FALSE);
        result = DefWindowProc(message, wp, lp);
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return true;
    default:
        break;
    }
    return fw::CColorButton::ProcessWindowMessage(message, wp, lp, result);
}

}  // namespace kw::skin
