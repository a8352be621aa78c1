#include "tools/kwctl/ConfigCommands.h"

#include "i18n/WideText.h"
#include "model/KeyCatalogue.h"

#include <cstdio>

namespace kw::kwctl {

int RunKeys(const Arguments& args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) {
        err << "kwctl keys takes no arguments\n";
        return kExitUsage;
    }
    out << "id     device usage  name\n";
    for (size_t index = 1; index < model::kKeyRecordCount; ++index) {
        const model::KeyInfo& info = model::KeyRecordAt(index);
        if (model::IsEmptyRecord(info)) continue;
        const model::KeyId id = model::KeyIdOf(static_cast<model::KeyIndex>(index));
        const model::DeviceUsage usage = model::DeviceUsageOf(id);
        char line[40];
        if (usage.page != 0) {
            std::snprintf(line, sizeof line, "0x%03X  %02X:%04X       ", static_cast<unsigned>(id),
                          static_cast<unsigned>(usage.page), static_cast<unsigned>(usage.usage));
        } else {
            std::snprintf(line, sizeof line, "0x%03X  none          ", static_cast<unsigned>(id));
        }
        out << line << i18n::Utf8FromWide(info.label) << "\n";
    }
    return kExitOk;
}

}  // namespace kw::kwctl
