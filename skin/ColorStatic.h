#pragma once
// A static text in a chosen colour with no background of its own, so the dialog's background
// picture shows around the letters.
#include "framework/Handles.h"
#include "framework/SubclassWnd.h"

namespace kw::skin {

class ColorStatic : public fw::CSubclassWnd {
public:
    static constexpr COLORREF kDefaultTextColour = 0xFFFFFF;

    void SetTextColor(COLORREF colour);
    COLORREF TextColour() const { return m_textColour; }
    // Recreates the control's own font from its current one, with the given height in pixels.
    void SetFontHeight(int height);
    HFONT Font() const { return static_cast<HFONT>(m_font.get()); }

    bool ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    // Repaints the background under the control first: the control itself paints no background.
    void RedrawWithBackground() const;

    COLORREF m_textColour = kDefaultTextColour;
    fw::UniqueGdiObject m_font;
};

}  // namespace kw::skin
