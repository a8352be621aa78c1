#pragma once
// Plain rectangles and points for the toolkit's portable arithmetic, so that layout, mask and
// drawing maths can be tested without a window system.
namespace kw::skin {

struct SkinRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const SkinRect&, const SkinRect&) = default;
};

struct SkinPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const SkinPoint&, const SkinPoint&) = default;
};

}  // namespace kw::skin
