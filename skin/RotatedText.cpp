#include "skin/RotatedText.h"

#include <cmath>

namespace kw::skin {

SkinRect CentreRotatedText(SkinRect rect, int angleTenths, int cx, int cy) {
    // The skins were tuned against this value of pi; a more exact one shifts captions by a pixel.
    constexpr double kPi = 3.1415927;
    const double theta = (angleTenths / 10.0) * kPi / 180.0;
    const double sinT = std::sin(theta);
    const double cosT = std::cos(theta);
    const int horizontal = static_cast<int>(cx * cosT);
    const int vertical = static_cast<int>(cx * sinT);
    const int width = rect.Width();
    const int height = rect.Height();
    if (horizontal < width) rect.left = rect.left + (width - horizontal) / 2 - static_cast<int>(0.5 * cy * sinT);
    if (vertical < height) rect.bottom = rect.bottom - (height - vertical) / 2 + static_cast<int>(0.5 * cy * cosT);
    return rect;
}

}  // namespace kw::skin
