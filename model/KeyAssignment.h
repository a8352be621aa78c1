#pragma once
// What each key does in each on-board profile. Records are stored byte for byte in the
// configuration buffer and in profile files, so their layout is fixed and little-endian.
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "model/KeyCatalogue.h"

namespace kw::model {

enum class AssignmentKind : std::uint16_t {
    Default = 0,        // the key keeps its factory function
    Disabled = 1,       // the key does nothing
    Key = 2,            // value: the KeyId produced (key, modifier, mouse button or wheel)
    LaunchProgram = 3,  // the path is in the string table; the keyboard keeps the factory code
    Macro = 4,          // value: macro id; tag: the cycle count typed in the editor
    StopMacro = 5,
    TextBlock = 6,      // the text is in the string table; the keyboard gets no function
    Multimedia = 7,     // value: position in MediaUsageTable
    Function = 8,       // value: position in the firmware's function list
};
inline constexpr std::uint16_t kLastAssignmentKind = 8;
inline constexpr std::uint32_t kFunctionPositions = 11;

struct KeyAssignment {
    std::uint16_t kind = 0;      // an AssignmentKind; files may carry other values
    std::uint16_t tag = 0;       // G tag of a G-key slot, or a macro's cycle count; never sent
    std::uint32_t value = 0;     // meaning depends on the kind
    std::uint32_t mark = 0;      // selection mark of the main window; never sent
    std::uint32_t reserved = 0;  // kept as stored
    bool operator==(const KeyAssignment&) const = default;
};

inline constexpr std::size_t kKeyAssignmentSize = 16;
inline constexpr std::size_t kProfileBlockRecords = 512;
inline constexpr std::size_t kProfileBlockSize = kProfileBlockRecords * kKeyAssignmentSize;
inline constexpr int kProfileBlocks = 4;      // three on-board profiles and one only carried in files
inline constexpr int kKeyboardProfiles = 3;   // blocks 0-2 go to and come from the keyboard
inline constexpr std::size_t kConfigurationHeaderSize = 64;
inline constexpr std::size_t kConfigurationBufferSize = kConfigurationHeaderSize + kProfileBlocks * kProfileBlockSize;

inline constexpr std::uint16_t kBankATagBase = 0x0300;  // G1 of bank A carries 0x0301
inline constexpr std::uint16_t kBankBTagBase = 0x1300;

// 512 records addressed by KeyIndex: 1-255 the catalogue's keys, 256-273 the G-key slots.
using ProfileBlock = std::array<KeyAssignment, kProfileBlockRecords>;

// The 32832-byte configuration buffer: the header (its two 32-byte blocks are the profile file's),
// then four profile blocks.
struct ConfigurationBuffer {
    std::array<std::uint8_t, kConfigurationHeaderSize> header{};
    std::array<ProfileBlock, kProfileBlocks> blocks{};
};

static_assert(std::endian::native == std::endian::little, "records are stored in memory order");
static_assert(sizeof(KeyAssignment) == kKeyAssignmentSize);
static_assert(offsetof(KeyAssignment, tag) == 2 && offsetof(KeyAssignment, value) == 4);
static_assert(offsetof(KeyAssignment, mark) == 8 && offsetof(KeyAssignment, reserved) == 12);
static_assert(sizeof(ProfileBlock) == kProfileBlockSize);
static_assert(sizeof(ConfigurationBuffer) == kConfigurationBufferSize && kConfigurationBufferSize == 32832);
static_assert(std::is_trivially_copyable_v<ConfigurationBuffer>);
static_assert(std::is_standard_layout_v<ConfigurationBuffer>);

// All zero but the G tags: bank A's nine slots 0x0301-0x0309, bank B's 0x1301-0x1309.
void ResetProfileBlock(ProfileBlock& block);

// Whether a profile or key index read from a file, the keyboard or a caller addresses a record.
inline bool IsProfileBlockIndex(int profile) { return profile >= 0 && profile < kProfileBlocks; }
inline bool IsRecordIndex(int keyIndex) { return keyIndex >= 0 && keyIndex < static_cast<int>(kProfileBlockRecords); }

}  // namespace kw::model
