#include "skin/MaskScan.h"

#include <algorithm>
#include <vector>

namespace kw::skin {

namespace {
ChannelRange RangeOf(uint32_t colour, uint32_t tolerance, int shift) {
    const unsigned low = (colour >> shift) & 0xFFu;
    const unsigned high = std::min(255u, low + ((tolerance >> shift) & 0xFFu));
    return {static_cast<uint8_t>(low), static_cast<uint8_t>(high)};
}
}  // namespace

TransparentRange MakeTransparentRange(uint32_t colour, uint32_t tolerance) {
    return {RangeOf(colour, tolerance, 0), RangeOf(colour, tolerance, 8), RangeOf(colour, tolerance, 16)};
}

void ScanOpaqueRuns(std::span<const uint32_t> pixels, int width, int height, size_t stride,
                    const TransparentRange& transparent, size_t batchSize,
                    const std::function<void(std::span<const SkinRect>)>& flush) {
    if (width <= 0 || height <= 0 || stride < static_cast<size_t>(width) || batchSize == 0) return;
    // Never read past the buffer, whatever the caller claims about its size.
    const size_t rows = std::min<size_t>(static_cast<size_t>(height), pixels.size() / stride +
                                         (pixels.size() % stride >= static_cast<size_t>(width) ? 1 : 0));
    const auto isTransparent = [&transparent](uint32_t p) {
        return transparent.red.Contains(static_cast<uint8_t>(p >> 16)) &&
               transparent.green.Contains(static_cast<uint8_t>(p >> 8)) &&
               transparent.blue.Contains(static_cast<uint8_t>(p));
    };
    std::vector<SkinRect> batch;
    batch.reserve(std::min<size_t>(batchSize, 100));
    for (size_t y = 0; y < rows; ++y) {
        const uint32_t* row = pixels.data() + y * stride;
        int x = 0;
        while (x < width) {
            while (x < width && isTransparent(row[x])) ++x;
            if (x == width) break;
            const int start = x;
            while (x < width && !isTransparent(row[x])) ++x;
            batch.push_back({start, static_cast<int>(y), x, static_cast<int>(y) + 1});
            if (batch.size() == batchSize) {
                flush(batch);
                batch.clear();
            }
        }
    }
    if (!batch.empty()) flush(batch);
}

SkinRect BoundingBox(std::span<const SkinRect> rects) {
    if (rects.empty()) return {};
    SkinRect box = rects.front();
    for (const SkinRect& r : rects) {
        box.left = std::min(box.left, r.left);
        box.top = std::min(box.top, r.top);
        box.right = std::max(box.right, r.right);
        box.bottom = std::max(box.bottom, r.bottom);
    }
    return box;
}

}  // namespace kw::skin
