#pragma once
// The parts of the skinned colour button's face, from the button's client rectangle.
#include "skin/Geometry.h"

#include <array>

namespace kw::skin {

struct ColorButtonFace {
    SkinRect swatch;                    // framed and filled with the colour
    SkinRect dropDown;                  // the arrow part
    std::array<SkinPoint, 3> triangle;  // the down-pointing arrow on it
    SkinRect focus;                     // focus rectangle, outside the button
};

ColorButtonFace LayOutColorButton(SkinRect button);

}  // namespace kw::skin
