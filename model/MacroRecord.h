#pragma once
// One macro as the program keeps it: a fixed-size record whose bytes are exactly what a profile file
// stores and what the editor copies around whole. The layout has no padding, so the record can be
// moved as one block; anything that crosses a file or the wire goes through explicit encoders.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace kw::model {

inline constexpr size_t kMacroRecordSize = 32512;
inline constexpr size_t kMacroActionSize = 8;
inline constexpr size_t kMacroNameUnits = 250;      // the name field, terminator included
inline constexpr size_t kMaxMacroNameLength = 249;  // code units before the terminator
inline constexpr uint16_t kMaxMacroActions = 4000;
inline constexpr uint16_t kMaxMacros = 100;
inline constexpr uint32_t kMaxMacroDelayMs = 40000;  // what the editor lets the owner type
// The keyboard counts delays in steps of 10 ms in a 12-bit field.
inline constexpr uint32_t kMacroDelayStepMs = 10;
inline constexpr uint32_t kMaxMacroDelaySteps = 0x0FFF;
inline constexpr uint32_t kMaxEncodableDelayMs = kMaxMacroDelaySteps * kMacroDelayStepMs;  // 40950
constexpr bool MacroDelayFitsDevice(uint32_t delayMs) { return delayMs / kMacroDelayStepMs <= kMaxMacroDelaySteps; }

inline constexpr uint16_t kMacroPress = 0;
inline constexpr uint16_t kMacroRelease = 1;

// One step: the key event, then the pause before the next step.
struct MacroAction {
    uint32_t delay = 0;  // milliseconds after this action
    uint16_t keyId = 0;
    uint16_t direction = kMacroPress;  // kMacroPress or kMacroRelease
};

struct MacroRecord {
    std::array<char16_t, kMacroNameUnits> name{};  // UTF-16, NUL-terminated
    uint8_t cycleCount = 0;                        // plays per trigger, 1 to 255
    uint8_t reserved501 = 0;
    uint16_t newFlag = 0;  // created in the editor and not yet committed
    uint16_t reserved504 = 0;
    uint16_t id = 0;           // 1 to 100, unique within the set
    uint16_t actionCount = 0;  // the first actionCount actions are the macro
    uint16_t reserved510 = 0;
    std::array<MacroAction, kMaxMacroActions> actions{};
};

static_assert(sizeof(MacroAction) == kMacroActionSize);
static_assert(sizeof(MacroRecord) == kMacroRecordSize);
static_assert(offsetof(MacroRecord, cycleCount) == 500);
static_assert(offsetof(MacroRecord, newFlag) == 502);
static_assert(offsetof(MacroRecord, id) == 506);
static_assert(offsetof(MacroRecord, actionCount) == 508);
static_assert(offsetof(MacroRecord, actions) == 512);
static_assert(std::is_trivially_copyable_v<MacroRecord>);
static_assert(std::is_standard_layout_v<MacroRecord>);

// The name's length in code units: up to the terminator, never more than the record holds, so a
// record whose name lost its terminator is still read safely.
size_t MacroNameLength(const MacroRecord& record);
std::u16string_view MacroName(const MacroRecord& record);
// Stores the name, cut to kMaxMacroNameLength code units (never inside a surrogate pair), and
// clears the rest of the field. True when it had to be cut.
bool SetMacroName(MacroRecord& record, std::u16string_view name);
// The actions that count, never more than the record holds.
uint16_t MacroActionCount(const MacroRecord& record);

// A generated name: the prefix followed by the decimal number, the prefix cut so that the whole
// fits a record and the number, which tells the names apart, is never lost.
std::u16string NumberedMacroName(std::u16string_view prefix, int number);

// The longest prefix of text that fits maxUnits code units without splitting a surrogate pair.
std::u16string_view CutUtf16(std::u16string_view text, size_t maxUnits);

// What RepairMacroRecord had to change in a record that came from outside the program.
struct MacroRecordRepairs {
    bool actionCountCut = false;  // more actions than the record holds
    bool nameCut = false;         // the name had no terminator inside its field
    uint32_t delaysClamped = 0;   // delays longer than the keyboard can play
    bool Any() const { return actionCountCut || nameCut || delaysClamped != 0; }
};

// Makes a record read from a file safe to use: the action count becomes at most 4000, the name
// gets a terminator inside its field, and delays the keyboard cannot hold become kMaxEncodableDelayMs.
MacroRecordRepairs RepairMacroRecord(MacroRecord& record);

}  // namespace kw::model
