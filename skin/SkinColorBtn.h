#pragma once
// The colour button drawn to suit the dark skin: a swatch on the left, a grey arrow part on the
// right, the focus rectangle outside the button.
#include "framework/ColorButton.h"

namespace kw::skin {

class CSkinColorBtn : public fw::CColorButton {
public:
    static constexpr COLORREF kDropDownColour = 0x8B9294;

    bool ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override;

protected:
    void DrawFace(HDC dc, const RECT& rect, UINT state) override;
    void DrawFocus(HDC dc, const RECT& rect) override;
    void OnPopupOpened() override { Invalidate(false); }
};

}  // namespace kw::skin
