#include "model/MacroSet.h"

#include <utility>

namespace kw::model {

bool MacroSet::Replace(std::vector<MacroRecord>&& records) {
    if (records.size() > kMaxMacros) return false;
    m_records = std::move(records);
    return true;
}

void MacroSet::Free() { std::vector<MacroRecord>().swap(m_records); }

}  // namespace kw::model
