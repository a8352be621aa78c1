#include "model/MacroList.h"

#include <algorithm>
#include <bitset>
#include <new>

namespace kw::model {

uint16_t SmallestFreeMacroId(std::span<const MacroRecord> list) {
    std::bitset<kMaxMacros + 1> used;
    for (const MacroRecord& r : list) {
        if (r.id >= 1 && r.id <= kMaxMacros) used.set(r.id);
    }
    for (uint16_t id = 1; id <= kMaxMacros; ++id) {
        if (!used.test(id)) return id;
    }
    return 0;
}

AddMacroResult AddMacro(std::vector<MacroRecord>& list, std::u16string_view name) {
    AddMacroResult result;
    if (list.size() >= kMaxMacros) {
        result.status = AddMacroStatus::ListFull;
        return result;
    }
    try {
        list.emplace_back();
    } catch (const std::bad_alloc&) {
        result.status = AddMacroStatus::OutOfMemory;
        return result;
    }
    MacroRecord& r = list.back();
    SetMacroName(r, name);
    r.cycleCount = 1;
    r.newFlag = 1;
    r.id = SmallestFreeMacroId(std::span<const MacroRecord>(list.data(), list.size() - 1));
    result.position = list.size() - 1;
    return result;
}

}  // namespace kw::model
