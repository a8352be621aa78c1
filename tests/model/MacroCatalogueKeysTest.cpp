#include "model/KeyCatalogue.h"
#include "model/MacroBlock.h"
#include "model/MacroCatalogueKeys.h"

#include <gtest/gtest.h>

#include <array>
#include <map>

namespace kw::model {
namespace {

TEST(MacroCatalogueKeysTest, CatalogueKeysEncodeToTheKeyboardsBytes) {
    struct Case {
        const char* what;
        MacroAction action;
        std::array<uint8_t, 4> bytes;
    };
    const Case cases[] = {
        {"left Windows press, 50 ms", {50, 0x15B, kMacroPress}, {0x05, 0xA0, 0x01, 0x08}},
        {"A release", {0, 0x01E, kMacroRelease}, {0x00, 0x20, 0x02, 0x04}},
        {"Volume Up press, 10 ms", {10, 0x130, kMacroPress}, {0x01, 0xA0, 0x02, 0xC0}},
        {"wheel down press", {0, 0x162, kMacroPress}, {0x00, 0x90, 0x05, 0xFF}},
        {"left button release", {0, 0x171, kMacroRelease}, {0x00, 0x10, 0x01, 0x01}},
        {"Sleep", {0, 0x15F, kMacroPress}, {0x00, 0xC0, 0x82, 0x00}},
        {"right Shift", {0, 0x036, kMacroPress}, {0x00, 0xA0, 0x01, 0x20}},
        {"Copy has no device usage", {0, 0x176, kMacroPress}, {0x00, 0x80, 0x00, 0x00}},
        {"a G key has none either", {0, 0x200, kMacroPress}, {0x00, 0x80, 0x00, 0x00}},
    };
    for (const Case& c : cases) EXPECT_EQ(EncodeMacroAction(c.action, CatalogueMacroKeys()), c.bytes) << c.what;
}

TEST(MacroCatalogueKeysTest, EveryKeyWithADeviceCodeComesBack) {
    // Keys that share a device usage come back as the first key with it: the second Right Shift
    // record as Right Shift, Break as Pause.
    const std::map<KeyId, KeyId> sharing = {{0x136, 0x036}, {0x146, 0x045}};
    const MacroKeyVocabulary& keys = CatalogueMacroKeys();
    int travelling = 0;
    for (KeyIndex index = 0; index < kKeyRecordCount; ++index) {
        const KeyId id = KeyIdOf(index);
        const auto encoded = EncodeMacroAction({0, id, kMacroRelease}, keys);
        const KeyId back = DecodeMacroAction(encoded, keys).keyId;
        if (encoded[2] == 0 && encoded[3] == 0) {
            EXPECT_EQ(back, 0) << std::hex << id;
            continue;
        }
        ++travelling;
        const auto shared = sharing.find(id);
        EXPECT_EQ(back, shared == sharing.end() ? id : shared->second) << std::hex << id;
    }
    EXPECT_GT(travelling, 100);
}

}  // namespace
}  // namespace kw::model
