#include "skin/ColorButtonGeometry.h"

namespace kw::skin {

namespace {
SkinRect Inflate(SkinRect r, int dx, int dy) { return {r.left - dx, r.top - dy, r.right + dx, r.bottom + dy}; }
}  // namespace

ColorButtonFace LayOutColorButton(SkinRect button) {
    ColorButtonFace face;
    face.swatch = Inflate(button, 1, 1);
    face.swatch.right = face.swatch.right / 2 + 5;
    face.dropDown = Inflate(button, 1, 2);
    face.dropDown.left = face.dropDown.right / 2 + face.dropDown.left + 3;
    const int r = button.right;
    const int m = Inflate(button, 1, 1).Height() / 2;
    face.triangle = {SkinPoint{r - 10, m - 2}, SkinPoint{r - 4, m - 2}, SkinPoint{r - 7, m + 1}};
    face.focus = Inflate(button, 3, 3);
    return face;
}

}  // namespace kw::skin
