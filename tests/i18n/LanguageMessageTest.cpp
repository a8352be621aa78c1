// The language message's index rules, for the senders and the windows that receive it.
#include "i18n/LanguageMessage.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace kw::i18n {
namespace {

TEST(LanguageMessageTest, SendersPassZeroToTwoAndZeroForAnythingElse) {
    const std::vector<std::pair<int, int>> cases = {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}, {INT_MAX, 0}, {INT_MIN, 0}};
    for (const auto& [index, sent] : cases) EXPECT_EQ(LanguageIndexToSend(index), sent) << index;
}

TEST(LanguageMessageTest, ReceiversActOnlyOnLang) {
    EXPECT_EQ(ReceivedLanguageIndex(kLanguageCode, 0), 0);
    EXPECT_EQ(ReceivedLanguageIndex(kLanguageCode, 2), 2);
    EXPECT_EQ(ReceivedLanguageIndex(kLanguageCode, 7), 0);
    EXPECT_EQ(ReceivedLanguageIndex(kLanguageCode, -5), 0);
    for (const uintptr_t other : {uintptr_t{0}, uintptr_t{0x474E414C}, uintptr_t{0x4F50454E}, uintptr_t{kLanguageCode + 1}})
        EXPECT_EQ(ReceivedLanguageIndex(other, 0), std::nullopt) << other;
}

}  // namespace
}  // namespace kw::i18n
