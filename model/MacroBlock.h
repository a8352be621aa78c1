#pragma once
// The macro set as the keyboard stores it in its macro area: a 16-byte header (magic 0x55AA, total
// size, macro count, names flag), a table of 16-bit record offsets, then one variable-length record
// per macro in set order: action count, cycle count, name length, 4-byte actions, optional name.
// A macro's position in the block is what the keyboard knows it by.
//
// Everything read from the keyboard is checked against the buffer before it is used: a block that
// does not hold together is refused as a whole rather than read in part.
#include "model/MacroKeyCodes.h"
#include "model/MacroRecord.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kw::model {

inline constexpr uint16_t kMacroBlockMagic = 0x55AA;
inline constexpr size_t kMacroBlockHeaderSize = 16;
inline constexpr uint32_t kMaxMacroBlockSize = 0xFFFF;  // sizes and offsets are 16-bit

enum class MacroBlockError {
    None,
    NoMagic,         // the area holds no block: the keyboard has no macros
    Truncated,       // the buffer is shorter than the header or than the size the header states
    BadSize,         // the stated size cannot even hold the header and the offset table
    BeyondCapacity,  // larger than the keyboard's macro area or than 16-bit offsets reach
    TooManyMacros,   // more than kMaxMacros
    BadOffset,       // a record offset points into the header, the offset table or past the end
    RecordPastEnd,   // a record's actions or name run past the end of the block
    OutOfMemory,
};

struct MacroBlockSizes {
    uint32_t withNames = 0;
    uint32_t withoutNames = 0;
    bool operator==(const MacroBlockSizes&) const = default;
};

// Both sizes, computed without limits so that an oversized set shows as such instead of wrapping.
MacroBlockSizes MeasureMacroBlock(std::span<const MacroRecord> records);

enum class MacroBlockLayout { DoesNotFit, WithNames, WithoutNames };

// Names go along when the whole block fits; otherwise they are left out if that makes it fit.
MacroBlockLayout ChooseMacroBlockLayout(const MacroBlockSizes& sizes, uint32_t capacity);

// A delay that was longer than the keyboard can play and went as the longest it can.
struct MacroDelayClamp {
    uint16_t position = 0;  // of the macro in the set
    uint16_t action = 0;
    uint32_t delay = 0;  // as the record holds it, in milliseconds
    bool operator==(const MacroDelayClamp&) const = default;
};

struct MacroBlockBuild {
    MacroBlockError error = MacroBlockError::None;
    bool namesIncluded = false;
    bool namesDropped = false;  // names were left out so that the block fits
    std::vector<uint8_t> bytes;  // the whole block; empty on error
    std::vector<MacroDelayClamp> clampedDelays;
};

// The block of these records, in their order. Refused (TooManyMacros, BeyondCapacity) when the set
// cannot be addressed by the block's 16-bit fields or by the keyboard's one-byte macro positions.
MacroBlockBuild BuildMacroBlock(std::span<const MacroRecord> records, bool includeNames,
                                const MacroKeyVocabulary& keys);
// Measures, chooses the layout for the keyboard's macro capacity in bytes and builds. BeyondCapacity
// when even the block without names does not fit (also while the capacity is still unknown, 0).
MacroBlockBuild BuildMacroBlockForCapacity(std::span<const MacroRecord> records, uint32_t capacity,
                                           const MacroKeyVocabulary& keys);

struct MacroBlockHeader {
    uint16_t size = 0;
    uint16_t count = 0;
    uint16_t namesIncluded = 0;
};

// Checks the first 16 bytes read from the macro area before the rest is read: NoMagic when the area
// holds no block; otherwise the stated size must hold the offset table, stay within the capacity
// (when it is known, not 0) and the count within kMaxMacros.
MacroBlockError ReadMacroBlockHeader(std::span<const uint8_t> area, uint32_t capacity, MacroBlockHeader& header);

struct MacroBlockParse {
    MacroBlockError error = MacroBlockError::None;
    std::vector<MacroRecord> records;  // ids 1 to N in block order; empty on error
    uint16_t namesCut = 0;    // names longer than a record holds, cut to fit
    uint16_t actionsCut = 0;  // macros with more actions than a record holds, cut to fit
};

// Macros without a name in the block are named newNamePrefix followed by their 1-based position.
MacroBlockParse ParseMacroBlock(std::span<const uint8_t> block, std::u16string_view newNamePrefix,
                                const MacroKeyVocabulary& keys);

}  // namespace kw::model
