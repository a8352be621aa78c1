#pragma once
// A horizontal slider drawn from a channel picture (and an optional thumb picture). Every change
// is reported to the parent with a posted message: wParam the control id, lParam the position.
#include "framework/Gdi.h"
#include "framework/Handles.h"
#include "framework/SubclassWnd.h"
#include "skin/SliderMath.h"

namespace kw::skin {

inline constexpr UINT kSliderMessage = 0x28D1;

class CBitmapSlider : public fw::CSubclassWnd {
public:
    // Takes the bitmap and sizes the control to it.
    void SetChannelBitmap(HBITMAP bitmap);
    // Takes the bitmap; pixels of its top-left pixel's colour are transparent.
    void SetThumbBitmap(HBITMAP bitmap);
    void SetRange(int minimum, int maximum);
    void SetPageSize(int size) { m_pageSize = size; }
    void SetMargin(int margin);
    void SetPos(int position);
    void Enable(bool enable);

    int GetPos() const { return m_position; }
    SliderRange GetRange() const { return m_range; }
    int GetPageSize() const { return m_pageSize; }
    int GetMargin() const { return m_margin; }
    bool IsDragging() const { return m_dragging; }

    bool ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override;

protected:
    void PreSubclassWindow() override;

private:
    void Paint(HDC dc);
    void Report() const;
    void MoveTo(int position, bool report);

    fw::UniqueGdiObject m_channel;
    SIZE m_channelSize{};
    fw::UniqueGdiObject m_thumb;
    SIZE m_thumbSize{};
    fw::CMemoryDC m_offscreen;
    SliderRange m_range{0, 100};
    int m_position = 0;
    int m_pageSize = 10;
    int m_margin = 0;
    bool m_enabled = true;
    bool m_dragging = false;
};

}  // namespace kw::skin
