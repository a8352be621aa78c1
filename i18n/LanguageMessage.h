#pragma once
// The language message (0x5041): a window that receives it with wParam "LANG" sets all its texts
// in the language of the index in lParam and returns 0; with any other wParam it does nothing.
#include <cstdint>
#include <optional>

namespace kw::i18n {

inline constexpr unsigned kLanguageMessage = 0x5041;
inline constexpr uint32_t kLanguageCode = 0x4C414E47;  // "LANG"

// The index a sender puts into lParam: 0 to 2 as they are, anything else 0.
constexpr int LanguageIndexToSend(int languageIndex) {
    return languageIndex >= 0 && languageIndex <= 2 ? languageIndex : 0;
}

// For a receiver: the language index to set texts in when wParam carries "LANG"; nothing when the
// message is to be ignored. An index outside 0 to 2 means 0.
constexpr std::optional<int> ReceivedLanguageIndex(uintptr_t wParam, intptr_t lParam) {
    if (wParam != kLanguageCode) return std::nullopt;
    return lParam >= 0 && lParam <= 2 ? static_cast<int>(lParam) : 0;
}

}  // namespace kw::i18n
