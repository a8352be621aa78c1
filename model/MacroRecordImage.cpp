#include "model/MacroRecordImage.h"

#include "model/MacroBytes.h"

#include <cstddef>

namespace kw::model {

using bytes::Get16;
using bytes::Get32;
using bytes::Put16;
using bytes::Put32;

void WriteMacroRecordImage(const MacroRecord& record, std::span<uint8_t, kMacroRecordSize> out) {
    uint8_t* p = out.data();
    for (size_t i = 0; i < kMacroNameUnits; ++i) Put16(p + 2 * i, record.name[i]);
    p[500] = record.cycleCount;
    p[501] = record.reserved501;
    Put16(p + 502, record.newFlag);
    Put16(p + 504, record.reserved504);
    Put16(p + 506, record.id);
    Put16(p + 508, record.actionCount);
    Put16(p + 510, record.reserved510);
    for (size_t i = 0; i < kMaxMacroActions; ++i) {
        uint8_t* a = p + 512 + kMacroActionSize * i;
        Put32(a, record.actions[i].delay);
        Put16(a + 4, record.actions[i].keyId);
        Put16(a + 6, record.actions[i].direction);
    }
}

MacroRecordRepairs ReadMacroRecordImage(std::span<const uint8_t, kMacroRecordSize> image, MacroRecord& out) {
    const uint8_t* p = image.data();
    for (size_t i = 0; i < kMacroNameUnits; ++i) out.name[i] = static_cast<char16_t>(Get16(p + 2 * i));
    out.cycleCount = p[500];
    out.reserved501 = p[501];
    out.newFlag = Get16(p + 502);
    out.reserved504 = Get16(p + 504);
    out.id = Get16(p + 506);
    out.actionCount = Get16(p + 508);
    out.reserved510 = Get16(p + 510);
    for (size_t i = 0; i < kMaxMacroActions; ++i) {
        const uint8_t* a = p + 512 + kMacroActionSize * i;
        out.actions[i].delay = Get32(a);
        out.actions[i].keyId = Get16(a + 4);
        out.actions[i].direction = Get16(a + 6);
    }
    return RepairMacroRecord(out);
}

}  // namespace kw::model
