#include "virtualkb/StoredContents.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>

namespace kw::virtualkb {

namespace {

constexpr std::array<uint8_t, 8> kMagic{'K', 'W', 'V', 'K', 'S', 'T', 'A', 'T'};
constexpr uint32_t kFormatVersion = 1;

// Factory lighting records: the reset record (effect 1, brightness 4, speed 2, colourful, white)
// for profile 1, then the same effect in plain red and in plain blue, so the profiles can be told apart.
struct FactoryLighting {
    uint8_t colourful;
    uint8_t red, green, blue;
};
constexpr std::array<FactoryLighting, device::kOnBoardProfiles> kFactoryLighting{{
    {0xFF, 0xFF, 0xFF, 0xFF},
    {0x00, 0xFF, 0x00, 0x00},
    {0x00, 0x00, 0x7E, 0xFF},
}};

// The effects the keyboard offers, in the order its effect list gives them.
constexpr std::array<uint8_t, 19> kFactoryEffects{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20};
constexpr uint8_t kFactoryMacroUnits = 0xFF;  // the largest area the settings block can announce
constexpr int kFactoryKeyLights = 126;       // key lights 0 to 125 (all G keys share 125)

uint32_t Crc32(std::span<const uint8_t> bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (uint8_t b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t GetU32(std::span<const uint8_t> in, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(in[at + i]) << (8 * i);
    return v;
}

using Tag = std::array<char, 4>;

void PutSection(std::vector<uint8_t>& out, const char (&tag)[5], std::span<const uint8_t> bytes) {
    out.insert(out.end(), tag, tag + 4);
    PutU32(out, static_cast<uint32_t>(bytes.size()));
    out.insert(out.end(), bytes.begin(), bytes.end());
}

bool Fail(std::string* reason, const char* text) {
    if (reason) *reason = text;
    return false;
}

}  // namespace

std::span<const uint8_t> StoredContents::KeyMap(int profile) const {
    const auto size = static_cast<size_t>(model.keyMapBytes);
    return std::span<const uint8_t>(keyMaps).subspan(static_cast<size_t>(profile) * size, size);
}

std::span<const uint8_t> StoredContents::LightingRecord(int profile) const {
    return std::span<const uint8_t>(memory).subspan(static_cast<size_t>(profile) * kLightingRecordBytes,
                                                    kLightingRecordBytes);
}

std::span<const uint8_t> StoredContents::KeyColours(int profile) const {
    return std::span<const uint8_t>(keyColours)
        .subspan(static_cast<size_t>(profile) * device::kKeyColourProfileBytes, device::kKeyColourProfileBytes);
}

const device::KeyboardModel* ModelWithKeys(int keyCount) {
    for (const auto& model : device::kSupportedKeyboards)
        if (model.keyCount == keyCount) return &model;
    return nullptr;
}

StoredContents FactoryContents(const device::KeyboardModel& model) {
    StoredContents c;
    c.model = model;
    c.settings[device::kSettingsActiveProfileAt] = 0;
    c.settings[device::kSettingsMacroUnitsAt] = kFactoryMacroUnits;
    std::copy(kFactoryEffects.begin(), kFactoryEffects.end(), c.settings.begin() + device::kSettingsEffectListAt);

    c.memory.assign(kMemoryBytes, 0);
    for (int p = 0; p < device::kOnBoardProfiles; ++p) {
        uint8_t* record = c.memory.data() + p * kLightingRecordBytes;
        const auto& look = kFactoryLighting[static_cast<size_t>(p)];
        const uint8_t head[] = {0x01, 0x04, 0x02, 0x00, look.colourful, look.red, look.green, look.blue};
        std::copy(std::begin(head), std::end(head), record);
    }

    c.defaultKeyMap = FactoryKeyMap(model);
    c.keyMaps.clear();
    for (int p = 0; p < device::kOnBoardProfiles; ++p)
        c.keyMaps.insert(c.keyMaps.end(), c.defaultKeyMap.begin(), c.defaultKeyMap.end());

    // An empty macro block: magic, size 16, no macros, names flag 0.
    c.macroArea.assign(c.MacroCapacity(), 0);
    const uint8_t emptyBlock[] = {0xAA, 0x55, 0x10, 0x00};
    std::copy(std::begin(emptyBlock), std::end(emptyBlock), c.macroArea.begin());

    c.keyColours.assign(kKeyColourBytes, 0);
    for (int p = 0; p < device::kOnBoardProfiles; ++p)
        std::fill_n(c.keyColours.begin() + p * static_cast<int>(device::kKeyColourProfileBytes), 3 * kFactoryKeyLights,
                    0xFF);
    return c;
}

std::vector<uint8_t> EncodeContents(const StoredContents& c) {
    std::vector<uint8_t> out(kMagic.begin(), kMagic.end());
    PutU32(out, kFormatVersion);
    const uint8_t model[] = {static_cast<uint8_t>(c.model.vendorId), static_cast<uint8_t>(c.model.vendorId >> 8),
                             static_cast<uint8_t>(c.model.productId), static_cast<uint8_t>(c.model.productId >> 8)};
    PutSection(out, "MODL", model);
    PutSection(out, "SETT", c.settings);
    PutSection(out, "MEMO", c.memory);
    PutSection(out, "KMAP", c.keyMaps);
    PutSection(out, "DKMP", c.defaultKeyMap);
    PutSection(out, "MACR", c.macroArea);
    PutSection(out, "KCOL", c.keyColours);
    std::vector<uint8_t> boot{static_cast<uint8_t>(c.inBoot ? 1 : 0)};
    PutU32(boot, c.bootPlugGeneration);
    PutSection(out, "BOOT", boot);
    PutU32(out, Crc32(out));
    return out;
}

std::optional<StoredContents> DecodeContents(std::span<const uint8_t> image, std::string* reason) {
    const size_t head = kMagic.size() + 4;
    if (image.size() < head + 4 || !std::equal(kMagic.begin(), kMagic.end(), image.begin())) {
        Fail(reason, "not a virtual keyboard state file");
        return std::nullopt;
    }
    const size_t body = image.size() - 4;
    if (Crc32(image.first(body)) != GetU32(image, body)) {
        Fail(reason, "the state file is damaged (check value does not match)");
        return std::nullopt;
    }
    if (GetU32(image, kMagic.size()) != kFormatVersion) {
        Fail(reason, "the state file has a format version this program does not know");
        return std::nullopt;
    }

    std::map<Tag, std::span<const uint8_t>> sections;
    for (size_t at = head; at < body;) {
        if (body - at < 8) {
            Fail(reason, "the state file ends inside a section header");
            return std::nullopt;
        }
        Tag tag;
        std::memcpy(tag.data(), image.data() + at, 4);
        const uint32_t length = GetU32(image, at + 4);
        at += 8;
        if (length > body - at) {
            Fail(reason, "a section of the state file runs past its end");
            return std::nullopt;
        }
        sections[tag] = image.subspan(at, length);  // unknown sections are skipped
        at += length;
    }
    auto section = [&](const char (&name)[5], size_t expected) -> std::optional<std::span<const uint8_t>> {
        auto it = sections.find(Tag{name[0], name[1], name[2], name[3]});
        if (it == sections.end() || it->second.size() != expected) return std::nullopt;
        return it->second;
    };

    StoredContents c;
    const auto model = section("MODL", 4);
    if (!model) {
        Fail(reason, "the state file names no keyboard model");
        return std::nullopt;
    }
    const uint16_t vendor = static_cast<uint16_t>((*model)[0] | ((*model)[1] << 8));
    const uint16_t product = static_cast<uint16_t>((*model)[2] | ((*model)[3] << 8));
    const device::KeyboardModel* known = nullptr;
    for (const auto& m : device::kSupportedKeyboards)
        if (m.vendorId == vendor && m.productId == product) known = &m;
    if (!known) {
        Fail(reason, "the state file names a keyboard model that is not supported");
        return std::nullopt;
    }
    c.model = *known;
    const auto mapBytes = static_cast<size_t>(c.model.keyMapBytes);

    const auto settings = section("SETT", c.settings.size());
    if (!settings) {
        Fail(reason, "the state file's settings block is missing or of the wrong size");
        return std::nullopt;
    }
    std::copy(settings->begin(), settings->end(), c.settings.begin());
    if (c.ActiveProfile() >= device::kOnBoardProfiles) {
        Fail(reason, "the state file's active profile is not 0, 1 or 2");
        return std::nullopt;
    }

    struct Block {
        const char (&name)[5];
        size_t size;
        std::vector<uint8_t>& into;
    };
    const Block blocks[] = {
        {"MEMO", kMemoryBytes, c.memory},
        {"KMAP", device::kOnBoardProfiles * mapBytes, c.keyMaps},
        {"DKMP", mapBytes, c.defaultKeyMap},
        {"MACR", c.MacroCapacity(), c.macroArea},
        {"KCOL", kKeyColourBytes, c.keyColours},
    };
    for (const auto& b : blocks) {
        const auto bytes = section(b.name, b.size);
        if (!bytes) {
            if (reason) *reason = std::string("the state file's ") + b.name + " block is missing or of the wrong size";
            return std::nullopt;
        }
        b.into.assign(bytes->begin(), bytes->end());
    }
    const auto boot = section("BOOT", 5);
    if (!boot) {
        Fail(reason, "the state file's boot-mode record is missing");
        return std::nullopt;
    }
    c.inBoot = (*boot)[0] != 0;
    c.bootPlugGeneration = GetU32(*boot, 1);
    return c;
}

}  // namespace kw::virtualkb
