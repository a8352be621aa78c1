#pragma once
// The macro operations on a store's set, each under that store's lock. Blocks for the keyboard are
// built from the AppliedStore's copy; lookups by id and position serve the key-map encoding and
// the editor on the WorkingStore.
#include "model/ConfigStore.h"
#include "model/MacroBlock.h"
#include "model/MacroKeyCodes.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kw::model {

// Position of the first macro with that id; 0 when none has it, which is also the first position,
// so a key whose macro is gone plays the first macro.
uint16_t FindMacroPosition(ConfigStore& store, uint16_t id);
// Id of the macro at that position; 0 when the position is negative or past the set.
uint16_t MacroIdAt(ConfigStore& store, int position);

MacroBlockSizes MeasureMacroBlock(ConfigStore& store);
MacroBlockBuild BuildMacroBlock(ConfigStore& store, bool includeNames, const MacroKeyVocabulary& keys);
// Measures, chooses whether names go along and builds, all under one hold of the lock.
MacroBlockBuild BuildMacroBlockForCapacity(ConfigStore& store, uint32_t capacity, const MacroKeyVocabulary& keys);

// The keyboard's macro capacity in bytes as the presence monitor last stored it; 0 while unknown.
uint32_t KeyboardMacroCapacity();
// The block for the connected keyboard: its capacity, the catalogue's key codes.
MacroBlockBuild BuildMacroBlockForKeyboard(ConfigStore& store);

// ParseMacroBlock with unnamed macros named after the current language's "MACRO_NEW_PREFIX".
MacroBlockParse ParseMacroBlock(std::span<const uint8_t> block, const MacroKeyVocabulary& keys);

// Frees the store's records; the count becomes 0.
void FreeMacroSet(ConfigStore& store);
// Swaps in a new set (the editor's commit, a loaded file); false, set unchanged, above kMaxMacros.
bool ReplaceMacroSet(ConfigStore& store, std::vector<MacroRecord>&& records);
// Replaces to's set with a copy of from's. Locks from, then to: pass the WorkingStore first. False
// when memory runs out; to's set is then empty.
bool CopyMacroSet(ConfigStore& from, ConfigStore& to);

}  // namespace kw::model
