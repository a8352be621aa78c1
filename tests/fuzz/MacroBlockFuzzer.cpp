// Macro blocks as a keyboard could hold them: the header check and the parser must stay inside the
// buffer, and whatever they accept must survive being written back and read again unchanged.
#include "model/MacroBlock.h"
#include "model/MacroCatalogueKeys.h"

#include <cstdlib>

namespace {

using namespace kw::model;

void Require(bool condition) {
    if (!condition) std::abort();
}

bool SameRecords(const std::vector<MacroRecord>& a, const std::vector<MacroRecord>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (MacroName(a[i]) != MacroName(b[i]) || a[i].cycleCount != b[i].cycleCount || a[i].id != b[i].id ||
            a[i].actionCount != b[i].actionCount) {
            return false;
        }
        for (uint16_t k = 0; k < a[i].actionCount; ++k) {
            const MacroAction& x = a[i].actions[k];
            const MacroAction& y = b[i].actions[k];
            if (x.delay != y.delay || x.keyId != y.keyId || x.direction != y.direction) return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const MacroKeyVocabulary& keys = CatalogueMacroKeys();
    const std::span<const uint8_t> block(data, size);

    MacroBlockHeader header;
    const uint32_t capacity = size >= 2 ? static_cast<uint32_t>(data[size - 1]) * 128 : 0;
    if (ReadMacroBlockHeader(block, capacity, header) == MacroBlockError::None) {
        Require(header.count <= kMaxMacros);
        Require(header.size >= kMacroBlockHeaderSize + 2u * header.count);
        Require(capacity == 0 || header.size <= capacity);
    }

    const MacroBlockParse parse = ParseMacroBlock(block, u"Macro", keys);
    if (parse.error != MacroBlockError::None) {
        Require(parse.records.empty());
        return 0;
    }
    Require(parse.records.size() <= kMaxMacros);
    for (size_t i = 0; i < parse.records.size(); ++i) {
        const MacroRecord& r = parse.records[i];
        Require(r.id == i + 1);
        Require(r.newFlag == 0);
        Require(r.actionCount <= kMaxMacroActions);
        Require(MacroNameLength(r) >= 1 && MacroNameLength(r) <= kMaxMacroNameLength);
        Require(r.name[MacroNameLength(r)] == u'\0');
    }

    const MacroBlockBuild again = BuildMacroBlock(parse.records, true, keys);
    if (again.error == MacroBlockError::BeyondCapacity) return 0;  // read without names, too long with them
    Require(again.error == MacroBlockError::None);
    Require(again.clampedDelays.empty());
    const MacroBlockParse back = ParseMacroBlock(again.bytes, u"Macro", keys);
    Require(back.error == MacroBlockError::None);
    Require(back.namesCut == 0 && back.actionsCut == 0);
    Require(SameRecords(parse.records, back.records));
    return 0;
}
