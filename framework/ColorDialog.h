#pragma once
// The system colour dialog, with its sixteen custom colours kept by the object between openings.
#include <windows.h>

#include <array>

namespace kw::fw {

class CColorDialog {
public:
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = CC_FULLOPEN | CC_RGBINIT)
        : m_color(initial), m_flags(flags) {
        m_custom.fill(RGB(255, 255, 255));
    }
    // True when the user chose a colour (then GetColor has it).
    bool DoModal(HWND owner) {
        CHOOSECOLORW cc{};
        cc.lStructSize = sizeof(cc);
        cc.hwndOwner = owner;
        cc.rgbResult = m_color;
        cc.lpCustColors = m_custom.data();
        cc.Flags = m_flags;
        if (!::ChooseColorW(&cc)) return false;
        m_color = cc.rgbResult;
        return true;
    }
    COLORREF GetColor() const { return m_color; }
    void SetColor(COLORREF color) { m_color = color; }

private:
    COLORREF m_color;
    DWORD m_flags;
    std::array<COLORREF, 16> m_custom{};
};

}  // namespace kw::fw
