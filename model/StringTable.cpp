#include "model/StringTable.h"

#include <new>

namespace kw::model {
namespace {

std::uint32_t BytesOf(const std::u16string& text) {
    return static_cast<std::uint32_t>((text.size() + 1) * sizeof(char16_t));
}

}  // namespace

std::optional<std::size_t> StringTable::EntryOf(int profile, int keyIndex) {
    if (!IsProfileBlockIndex(profile) || !IsRecordIndex(keyIndex)) return std::nullopt;
    return static_cast<std::size_t>(profile) * kProfileBlockRecords + static_cast<std::size_t>(keyIndex);
}

bool StringTable::HasText(std::size_t entry) const { return entry < kEntries && m_texts[entry].has_value(); }

std::u16string_view StringTable::Text(std::size_t entry) const {
    return HasText(entry) ? std::u16string_view(*m_texts[entry]) : std::u16string_view();
}

std::uint32_t StringTable::ByteLength(std::size_t entry) const {
    return HasText(entry) ? BytesOf(*m_texts[entry]) : 0;
}

bool StringTable::Set(std::size_t entry, std::u16string_view text) {
    if (entry >= kEntries) return false;
    Clear(entry);
    try {
        m_texts[entry].emplace(text);
    } catch (const std::bad_alloc&) {
        m_texts[entry].reset();
        return false;
    }
    m_totalBytes += BytesOf(*m_texts[entry]);
    return true;
}

void StringTable::Clear(std::size_t entry) {
    if (!HasText(entry)) return;
    m_totalBytes -= BytesOf(*m_texts[entry]);
    m_texts[entry].reset();
}

void StringTable::ClearAll() {
    for (auto& text : m_texts) text.reset();
    m_totalBytes = 0;
}

}  // namespace kw::model
