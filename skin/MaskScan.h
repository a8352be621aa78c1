#pragma once
// Turns a mask picture into the rectangles of a window outline: every run of pixels in a row that
// are not of the transparent colour becomes a one-pixel-high rectangle.
#include "skin/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace kw::skin {

struct ChannelRange {
    uint8_t low = 0;
    uint8_t high = 0;
    bool Contains(uint8_t v) const { return v >= low && v <= high; }
};

struct TransparentRange {
    ChannelRange red, green, blue;
};

// Colours are 0x00BBGGRR. Each channel's range runs from the colour's value up to that value plus
// the tolerance's, capped at 255.
TransparentRange MakeTransparentRange(uint32_t colour, uint32_t tolerance);

// Rectangles are handed over in batches so that no single region-creation call grows large.
inline constexpr size_t kMaskBatchRectangles = 2000;

// Scans top-down rows of 32-bit pixels laid out as in a DIB (0x00RRGGBB, blue in the low byte).
// `stride` is the number of pixels from one row to the next (at least `width`). `flush` receives
// each full batch and then the remainder; an all-transparent picture produces no call at all.
void ScanOpaqueRuns(std::span<const uint32_t> pixels, int width, int height, size_t stride,
                    const TransparentRange& transparent, size_t batchSize,
                    const std::function<void(std::span<const SkinRect>)>& flush);

// The smallest rectangle holding all of them (all zero for none).
SkinRect BoundingBox(std::span<const SkinRect> rects);

}  // namespace kw::skin
