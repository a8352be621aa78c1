#pragma once
// The skinned push button: an owner-drawn button whose face is copied from one of its dialog's
// state surfaces at the button's own place, optionally with a caption in a chosen font and colour,
// an outline instead of a picture, a tooltip, and a callback after each paint.
#include "framework/SubclassWnd.h"
#include "framework/ToolTipCtrl.h"
#include "skin/StateSurface.h"

#include <array>
#include <string>

namespace kw::skin {

// Called after the button has painted: its window, and whether it drew its normal face.
using PngButtonPaintCallback = void (*)(HWND button, bool normalFace);

enum class ButtonFace { Normal, Hover, Pressed, Disabled, Selected, AlternateA, AlternateB };

class CPngButton : public fw::CSubclassWnd {
public:
    static constexpr int kDefaultFontSize = 8;
    static constexpr const wchar_t* kDefaultFontFace = L"Tahoma Unicode MS";
    static constexpr UINT kDefaultTextFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER;  // 37

    CPngButton() = default;
    ~CPngButton() override = default;

    void SetImages(int offsetX, int offsetY, const StateFaces& faces, bool redraw);
    void SetStateImages(const StateFaces& faces, bool redraw);
    void SetAlternateImages(const fw::CMemoryDC* a, const fw::CMemoryDC* b, bool alternate, bool chooseB, bool redraw);
    void SetSelected(bool selected, bool redraw);
    bool IsSelected() const { return m_selected; }
    // Colours in the order normal, hover, pressed, disabled, selected.
    void SetTextStyle(bool drawText, int size, const std::wstring& face, const std::array<COLORREF, 5>& colours,
                      UINT format);
    void SetTextMargins(int left, int right, int top, int bottom);
    void SetTextAngle(int tenthsOfDegree, bool rotated);
    void SetOutline(COLORREF colour, bool outline);
    void SetPaintCallback(PngButtonPaintCallback callback) { m_paintCallback = callback; }
    void SetTooltip(const std::wstring& text, bool activate);
    void Redraw();

    // What the button shows now, and what it drew last.
    ButtonFace ChooseFace() const;
    const fw::CMemoryDC* LastSurface() const { return m_lastSurface; }
    COLORREF LastTextColour() const { return m_lastTextColour; }
    bool IsHovering() const { return m_hover; }
    const fw::CToolTipCtrl& Tooltip() const { return m_tooltip; }
    POINT ImageOffset() const { return {m_offsetX, m_offsetY}; }

    BOOL PreTranslateMessage(MSG* msg) override;
    bool ProcessWindowMessage(UINT message, WPARAM wp, LPARAM lp, LRESULT& result) override;

protected:
    void PreSubclassWindow() override;

private:
    const fw::CMemoryDC* SurfaceOf(ButtonFace face) const;
    COLORREF ColourOf(ButtonFace face) const;
    void Paint(HDC dc);
    void DrawCaption(HDC dc, COLORREF colour);
    void CreateTooltip();

    StateFaces m_faces;
    const fw::CMemoryDC* m_lastSurface = nullptr;
    const fw::CMemoryDC* m_alternateA = nullptr;
    const fw::CMemoryDC* m_alternateB = nullptr;
    bool m_hover = false;
    bool m_tracking = false;
    bool m_pressed = false;
    bool m_selected = false;
    bool m_alternate = false;
    bool m_chooseB = false;
    int m_offsetX = 0;
    int m_offsetY = 0;
    bool m_drawText = false;
    int m_fontSize = kDefaultFontSize;
    std::wstring m_fontFace = kDefaultFontFace;
    std::array<COLORREF, 5> m_textColours{};
    UINT m_textFormat = kDefaultTextFormat;
    RECT m_textMargins{};
    int m_textAngle = 0;
    bool m_rotated = false;
    PngButtonPaintCallback m_paintCallback = nullptr;
    std::wstring m_tooltipText;
    fw::CToolTipCtrl m_tooltip;
    bool m_outline = false;
    COLORREF m_outlineColour = 0;
    COLORREF m_lastTextColour = 0;
};

}  // namespace kw::skin
