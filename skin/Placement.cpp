#include "skin/Placement.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace kw::skin {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f'; }

// One "%d": optional blanks, optional sign, at least one digit. Saturates instead of overflowing.
std::optional<int64_t> ReadNumber(std::wstring_view text, size_t& pos) {
    size_t i = pos;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    const size_t digitsStart = i;
    int64_t value = 0;
    constexpr int64_t kCap = int64_t{1} << 40;  // far beyond any clamp below
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
        value = std::min<int64_t>(value * 10 + (text[i] - L'0'), kCap);
        ++i;
    }
    if (i == digitsStart) return std::nullopt;
    pos = i;
    return negative ? -value : value;
}

int Clamp(int64_t v, int64_t low, int64_t high) { return static_cast<int>(std::clamp(v, low, high)); }

}  // namespace

Placement ParsePlacement(std::wstring_view value) {
    std::array<int64_t, 4> numbers{1, 1, 1, 1};
    size_t pos = 0;
    for (size_t n = 0; n < numbers.size(); ++n) {
        if (n > 0) {
            if (pos >= value.size() || value[pos] != L',') break;
            ++pos;
        }
        const auto number = ReadNumber(value, pos);
        if (!number) break;
        numbers[n] = *number;
    }
    Placement p;
    p.x = Clamp(numbers[0], -kPlacementLimit, kPlacementLimit);
    p.y = Clamp(numbers[1], -kPlacementLimit, kPlacementLimit);
    p.w = Clamp(numbers[2], 0, kPlacementLimit);
    p.h = Clamp(numbers[3], 0, kPlacementLimit);
    return p;
}

}  // namespace kw::skin
