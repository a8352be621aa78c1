#include "skin/SliderMath.h"

#include <algorithm>
#include <cstdint>

namespace kw::skin {

SliderRange NormaliseRange(int minimum, int maximum) {
    return minimum <= maximum ? SliderRange{minimum, maximum} : SliderRange{maximum, minimum};
}

int ClampPosition(int position, SliderRange range) {
    const SliderRange r = NormaliseRange(range.minimum, range.maximum);
    return std::clamp(position, r.minimum, r.maximum);
}

int PositionFromPoint(int x, int width, int margin, SliderRange range) {
    const SliderRange r = NormaliseRange(range.minimum, range.maximum);
    const int64_t span = int64_t{width} - 2 * int64_t{margin} - 1;
    if (span <= 0) return r.minimum;
    const int64_t offset = std::clamp<int64_t>(int64_t{x} - margin, 0, span);
    const int64_t steps = int64_t{r.maximum} - r.minimum;
    // Rounded to the nearest position.
    const int64_t position = r.minimum + (offset * steps * 2 + span) / (span * 2);
    return static_cast<int>(std::clamp<int64_t>(position, r.minimum, r.maximum));
}

int PointFromPosition(int position, int width, int margin, SliderRange range) {
    const SliderRange r = NormaliseRange(range.minimum, range.maximum);
    const int64_t span = int64_t{width} - 2 * int64_t{margin} - 1;
    const int64_t steps = int64_t{r.maximum} - r.minimum;
    if (span <= 0 || steps == 0) return std::max(margin, 0);
    const int64_t offset = int64_t{ClampPosition(position, r)} - r.minimum;
    return static_cast<int>(margin + (offset * span * 2 + steps) / (steps * 2));
}

int PositionAfterKey(SliderKey key, int position, int pageSize, SliderRange range) {
    const SliderRange r = NormaliseRange(range.minimum, range.maximum);
    int64_t next = position;
    switch (key) {
    case SliderKey::PageUp: next -= pageSize; break;
    case SliderKey::PageDown: next += pageSize; break;
    case SliderKey::Home: next = r.minimum; break;
    case SliderKey::End: next = r.maximum; break;
    case SliderKey::Left:
    case SliderKey::Up: next -= 1; break;
    case SliderKey::Right:
    case SliderKey::Down: next += 1; break;
    }
    return static_cast<int>(std::clamp<int64_t>(next, r.minimum, r.maximum));
}

}  // namespace kw::skin
