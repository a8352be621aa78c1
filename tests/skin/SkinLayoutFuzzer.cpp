// Layout values and mask pictures come from skin files anyone can edit: whatever they hold, a
// placement stays inside the window coordinate limits and the outline's rectangles stay inside
// the picture.
#include "skin/MaskScan.h"
#include "skin/Placement.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring value;
    for (size_t i = 0; i + 1 < size && value.size() < 600; i += 2) value.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    const kw::skin::Placement p = kw::skin::ParsePlacement(value);
    if (p.x < -kw::skin::kPlacementLimit || p.x > kw::skin::kPlacementLimit || p.y < -kw::skin::kPlacementLimit ||
        p.y > kw::skin::kPlacementLimit || p.w < 0 || p.w > kw::skin::kPlacementLimit || p.h < 0 ||
        p.h > kw::skin::kPlacementLimit)
        std::abort();

    if (size < 3) return 0;
    const int width = data[0] % 40;
    const int height = data[1] % 40;
    const size_t stride = static_cast<size_t>(width) + data[2] % 3;
    std::vector<uint32_t> pixels;
    for (size_t i = 3; i + 1 < size; i += 2) pixels.push_back(data[i] & 1 ? 0x00FFFFFFu : data[i + 1] * 0x010101u);
    kw::skin::ScanOpaqueRuns(pixels, width, height, stride, kw::skin::MakeTransparentRange(0xFFFFFF, data[2] & 0x0F), 7,
                             [&](std::span<const kw::skin::SkinRect> rects) {
                                 if (rects.empty() || rects.size() > 7) std::abort();
                                 for (const auto& r : rects) {
                                     if (r.left < 0 || r.right > width || r.left >= r.right || r.top < 0 ||
                                         r.bottom != r.top + 1 || r.bottom > height ||
                                         static_cast<size_t>(r.top) * stride + static_cast<size_t>(r.right) > pixels.size())
                                         std::abort();
                                 }
                             });
    return 0;
}
