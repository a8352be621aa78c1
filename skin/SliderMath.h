#pragma once
// Position arithmetic of the bitmap slider: from a point of the channel to a position and back,
// and the keyboard steps.
namespace kw::skin {

struct SliderRange {
    int minimum = 0;
    int maximum = 100;
};

// A range given the wrong way round is taken the right way round.
SliderRange NormaliseRange(int minimum, int maximum);
int ClampPosition(int position, SliderRange range);

// The channel runs horizontally from `margin` to `width - margin - 1`; a point maps to the nearest
// position, points beyond either end to that end. A channel too short to hold a span maps to the
// minimum.
int PositionFromPoint(int x, int width, int margin, SliderRange range);
// The pixel column of a position on the channel (the inverse of PositionFromPoint).
int PointFromPosition(int position, int width, int margin, SliderRange range);

enum class SliderKey { PageUp, PageDown, Home, End, Left, Up, Right, Down };

// Page Up / Page Down move by the page size, Home / End go to the ends, Left / Up step down by one
// and Right / Down step up by one; the result stays inside the range.
int PositionAfterKey(SliderKey key, int position, int pageSize, SliderRange range);

}  // namespace kw::skin
