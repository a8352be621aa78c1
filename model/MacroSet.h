#pragma once
// The macro set a store holds: records in set order, whose position is what the keyboard knows a
// macro by. Never more than kMaxMacros records, so its count always fits the 16 bits that files
// and the keyboard give it.
#include "model/MacroRecord.h"

#include <cstdint>
#include <span>
#include <vector>

namespace kw::model {

class MacroSet {
public:
    uint16_t Count() const { return static_cast<uint16_t>(m_records.size()); }
    bool Empty() const { return m_records.empty(); }
    std::span<const MacroRecord> Records() const { return m_records; }
    std::span<MacroRecord> Records() { return m_records; }

    // Takes the records as the new set and frees the old one. More than kMaxMacros records are
    // refused and leave the set as it was.
    bool Replace(std::vector<MacroRecord>&& records);
    // Frees the records; the count becomes 0.
    void Free();

private:
    std::vector<MacroRecord> m_records;
};

}  // namespace kw::model
