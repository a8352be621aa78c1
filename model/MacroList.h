#pragma once
// The editor's private list of macros: adding a macro, with the set's limits, on the list the
// editor later commits to the WorkingStore.
#include "model/MacroRecord.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kw::model {

// The text key of the message shown when the list is full, formatted with kMaxMacros.
inline constexpr wchar_t kMacroLimitTextKey[] = L"MACRO_ERR_MAX";

// The smallest id of 1 to kMaxMacros that no macro of the list uses; 0 when all are taken.
uint16_t SmallestFreeMacroId(std::span<const MacroRecord> list);

enum class AddMacroStatus {
    Added,
    ListFull,     // kMaxMacros macros already: the editor shows kMacroLimitTextKey
    OutOfMemory,  // nothing added
};

struct AddMacroResult {
    AddMacroStatus status = AddMacroStatus::Added;
    size_t position = 0;  // of the new macro, at the end of the list
};

// Appends a new, zero-filled macro: the name (cut to fit), one cycle, marked new, the smallest free
// id, no actions.
AddMacroResult AddMacro(std::vector<MacroRecord>& list, std::u16string_view name);

}  // namespace kw::model
