#include "skin/BitmapSlider.h"

#include <windowsx.h>

#include <array>

namespace kw::skin {

namespace {
struct KeyStep {
    WPARAM key;
    SliderKey step;
};
constexpr std::array<KeyStep, 8> kKeys = {{
    {VK_PRIOR, SliderKey::PageUp}, {VK_NEXT, SliderKey::PageDown}, {VK_HOME, SliderKey::Home},
    {VK_END, SliderKey::End},      {VK_LEFT, SliderKey::Left},     {VK_UP, SliderKey::Up},
    {VK_RIGHT, SliderKey::Right},  {VK_DOWN, SliderKey::Down},
}};

SIZE BitmapSize(HGDIOBJ bitmap) {
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

void Fill(HDC dc, const RECT& r, COLORREF colour) {
    fw::UniqueGdiObject brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}
}  // namespace

void CBitmapSlider::PreSubclassWindow() {
    // Static controls let mouse clicks through unless they ask to be told.
    ModifyStyle(0, SS_NOTIFY);
}

void CBitmapSlider::SetChannelBitmap(HBITMAP bitmap) {
    m_channel.reset(bitmap);
    m_channelSize = BitmapSize(bitmap);
    if (IsWindow() && m_channelSize.cx > 0 && m_channelSize.cy > 0) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_channelSize.cx, m_channelSize.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        fw::CClientDC dc(m_hWnd);
        m_offscreen.Create(dc, m_channelSize.cx, m_channelSize.cy);
    }
    if (IsWindow()) Invalidate(false);
}

void CBitmapSlider::SetThumbBitmap(HBITMAP bitmap) {
    m_thumb.reset(bitmap);
    m_thumbSize = BitmapSize(bitmap);
    if (IsWindow()) Invalidate(false);
}

void CBitmapSlider::SetRange(int minimum, int maximum) {
    m_range = NormaliseRange(minimum, maximum);
    SetPos(m_position);
}

void CBitmapSlider::SetMargin(int margin) {
    m_margin = margin < 0 ? 0 : margin;
    if (IsWindow()) Invalidate(false);
}

void CBitmapSlider::SetPos(int position) {
    m_position = ClampPosition(position, m_range);
    if (IsWindow()) {
        Invalidate(false);
        UpdateWindow();
    }
}

void CBitmapSlider::Enable(bool enable) {
    m_enabled = enable;
    if (IsWindow()) Invalidate(false);
}

void CBitmapSlider::Report() const {
    ::PostMessageW(GetParent(), kSliderMessage, static_cast<WPARAM>(GetDlgCtrlID()), static_cast<LPARAM>(m_position));
}

void CBitmapSlider::MoveTo(int position, bool report) {
    SetPos(position);
    if (report) Report();
}

void CBitmapSlider::Paint(HDC target) {
    const RECT client = GetClientRect();
    const int width = client.right;
    const int height = client.bottom;
    if (!m_offscreen || m_offscreen.Width() != width || m_offscreen.Height() != height) m_offscreen.Create(target, width, height);
    HDC dc = m_offscreen.GetSafeHdc();
    if (!dc) return;
    if (m_channel) {
        HDC source = ::CreateCompatibleDC(dc);
        {
            fw::CSelectObject select(source, m_channel.get());
            ::BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
        }
        ::DeleteDC(source);
    } else {
        // No picture: a plain groove, so the control is still usable.
        Fill(dc, client, RGB(24, 26, 32));
        const RECT groove{m_margin, height / 2 - 2, width - m_margin, height / 2 + 2};
        Fill(dc, groove, RGB(70, 74, 84));
        const int x = PointFromPosition(m_position, width, m_margin, m_range);
        const RECT filled{m_margin, height / 2 - 2, x, height / 2 + 2};
        Fill(dc, filled, m_enabled ? RGB(255, 130, 0) : RGB(110, 110, 110));
        if (!m_thumb) {
            const RECT knob{x - 4, 2, x + 5, height - 2};
            Fill(dc, knob, m_enabled ? RGB(235, 235, 240) : RGB(120, 120, 120));
        }
    }
    if (m_thumb && m_thumbSize.cx > 0) {
        const int x = PointFromPosition(m_position, width, m_margin, m_range) - m_thumbSize.cx / 2;
        const int y = (height - m_thumbSize.cy) / 2;
        HDC source = ::CreateCompatibleDC(dc);
        {
            fw::CSelectObject select(source, m_thumb.get());
            const COLORREF key = ::GetPixel(source, 0, 0);
            ::TransparentBlt(dc, x, y, m_thumbSize.cx, m_thumbSize.cy, source, 0, 0, m_thumbSize.cx, m_thumbSize.cy, key);
        }
        ::DeleteDC(source);
    }
    ::BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
}

bool CBitmapSlider::ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (message) {
    case WM_PAINT: {
        fw::CPaintDC dc(m_hWnd);
        Paint(dc);
        return true;
    }
    case WM_ERASEBKGND:
        result = TRUE;
        return true;
    case WM_GETDLGCODE:
        result = DLGC_WANTARROWS;
        return true;
    case WM_LBUTTONDOWN:
        if (!m_enabled) return true;
        ::SetCapture(m_hWnd);
        ::SetFocus(m_hWnd);
        m_dragging = true;
        MoveTo(PositionFromPoint(GET_X_LPARAM(lp), GetClientRect().right, m_margin, m_range), true);
        return true;
    case WM_MOUSEMOVE:
        if (m_dragging) {
            const int position = PositionFromPoint(GET_X_LPARAM(lp), GetClientRect().right, m_margin, m_range);
            if (position != m_position) MoveTo(position, true);
        }
        return true;
    case WM_LBUTTONUP:
        if (m_dragging) {
            m_dragging = false;
            if (::GetCapture() == m_hWnd) ::ReleaseCapture();
            Report();
        }
        return true;
    case WM_CAPTURECHANGED:
        m_dragging = false;
        return true;
    case WM_KEYDOWN:
        if (!m_enabled) return true;
        for (const KeyStep& k : kKeys) {
            if (k.key == wp) {
                MoveTo(PositionAfterKey(k.step, m_position, m_pageSize, m_range), true);
                return true;
            }
        }
        return false;
    default:
        return false;
    }
}

}  // namespace kw::skin
