#pragma once
// The texts of launch-program and text-block assignments: one entry per key record of the four
// profile blocks (entry = profile x 512 + key index), each a UTF-16 text counted in bytes with its
// terminator, and the sum of those lengths, which a profile file stores.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/KeyAssignment.h"

namespace kw::model {

class StringTable {
public:
    static constexpr std::size_t kEntries = kProfileBlocks * kProfileBlockRecords;

    // The entry of a record, or nothing when profile or key index addresses no record.
    static std::optional<std::size_t> EntryOf(int profile, int keyIndex);

    bool HasText(std::size_t entry) const;
    std::u16string_view Text(std::size_t entry) const;
    // Bytes of the text with its terminator; 0 when the entry is empty.
    std::uint32_t ByteLength(std::size_t entry) const;
    std::uint32_t TotalBytes() const { return m_totalBytes; }

    // Replaces the entry's text. Out of memory leaves the entry empty and returns false, as does
    // an entry past the table.
    bool Set(std::size_t entry, std::u16string_view text);
    void Clear(std::size_t entry);
    void ClearAll();

private:
    std::vector<std::optional<std::u16string>> m_texts = std::vector<std::optional<std::u16string>>(kEntries);
    std::uint32_t m_totalBytes = 0;
};

}  // namespace kw::model
