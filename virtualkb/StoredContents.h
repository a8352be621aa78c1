#pragma once
// What the virtual keyboard keeps across power cycles: its model, settings block, lighting memory,
// the three profiles' key maps, its factory key map, the macro area and the per-key colour table,
// and whether it is waiting in boot mode. Also the byte image in which it is stored in its state file.
#include "device/CommandProtocol.h"
#include "device/KeyboardState.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kw::virtualkb {

// Lighting memory: the three 42-byte lighting records at 0, 42 and 84, and room behind them.
inline constexpr size_t kMemoryBytes = 256;
inline constexpr size_t kLightingRecordBytes = 42;
inline constexpr size_t kKeyColourBytes = device::kOnBoardProfiles * device::kKeyColourProfileBytes;

struct StoredContents {
    device::KeyboardModel model{};
    device::SettingsBlock settings{};
    std::vector<uint8_t> memory;         // kMemoryBytes
    std::vector<uint8_t> keyMaps;        // 3 x key-map bytes, profile p at p x key-map bytes
    std::vector<uint8_t> defaultKeyMap;  // key-map bytes
    std::vector<uint8_t> macroArea;      // settings byte 11 x 128
    std::vector<uint8_t> keyColours;     // kKeyColourBytes
    bool inBoot = false;                 // left the bus for boot mode
    uint32_t bootPlugGeneration = 0;     // the plug generation it entered boot mode in

    int ActiveProfile() const { return settings[device::kSettingsActiveProfileAt]; }
    size_t MacroCapacity() const { return settings[device::kSettingsMacroUnitsAt] * device::kMacroUnitBytes; }
    std::span<const uint8_t> KeyMap(int profile) const;
    std::span<const uint8_t> LightingRecord(int profile) const;
    std::span<const uint8_t> KeyColours(int profile) const;
};

// The supported model with this many keys (126 or 128), or null.
const device::KeyboardModel* ModelWithKeys(int keyCount);

// A keyboard as it leaves the factory.
StoredContents FactoryContents(const device::KeyboardModel& model);

// The factory key map of a model: key-map bytes, one three-byte slot code per key slot.
std::vector<uint8_t> FactoryKeyMap(const device::KeyboardModel& model);

// The state file image, with a check value over it.
std::vector<uint8_t> EncodeContents(const StoredContents& contents);
// Null (and a reason) when the image is damaged, of another format, or inconsistent.
std::optional<StoredContents> DecodeContents(std::span<const uint8_t> image, std::string* reason = nullptr);

}  // namespace kw::virtualkb
