#include "model/MacroBlock.h"

#include "model/MacroBytes.h"

#include <algorithm>
#include <new>

namespace kw::model {

using bytes::Get16;
using bytes::Put16;

namespace {

constexpr size_t kRecordHeaderSize = 4;  // action count, cycle count, name length
constexpr size_t kEncodedActionSize = 4;

uint32_t TableEnd(size_t count) { return static_cast<uint32_t>(kMacroBlockHeaderSize + 2 * count); }

}  // namespace

MacroBlockSizes MeasureMacroBlock(std::span<const MacroRecord> records) {
    MacroBlockSizes sizes;
    sizes.withoutNames = TableEnd(records.size());
    for (const MacroRecord& r : records) {
        sizes.withoutNames += static_cast<uint32_t>(kRecordHeaderSize + kEncodedActionSize * MacroActionCount(r));
        sizes.withNames += static_cast<uint32_t>(2 * MacroNameLength(r));
    }
    sizes.withNames += sizes.withoutNames;
    return sizes;
}

MacroBlockLayout ChooseMacroBlockLayout(const MacroBlockSizes& sizes, uint32_t capacity) {
    const uint32_t room = std::min(capacity, kMaxMacroBlockSize);
    if (sizes.withNames <= room) return MacroBlockLayout::WithNames;
    if (sizes.withoutNames <= room) return MacroBlockLayout::WithoutNames;
    return MacroBlockLayout::DoesNotFit;
}

MacroBlockBuild BuildMacroBlock(std::span<const MacroRecord> records, bool includeNames,
                                const MacroKeyVocabulary& keys) {
    MacroBlockBuild build;
    if (records.size() > kMaxMacros) {
        build.error = MacroBlockError::TooManyMacros;
        return build;
    }
    const MacroBlockSizes sizes = MeasureMacroBlock(records);
    const uint32_t size = includeNames ? sizes.withNames : sizes.withoutNames;
    if (size > kMaxMacroBlockSize) {
        build.error = MacroBlockError::BeyondCapacity;
        return build;
    }
    try {
        build.bytes.assign(size, 0);
    } catch (const std::bad_alloc&) {
        build.error = MacroBlockError::OutOfMemory;
        return build;
    }
    build.namesIncluded = includeNames;

    uint8_t* block = build.bytes.data();
    Put16(block, kMacroBlockMagic);
    Put16(block + 2, static_cast<uint16_t>(size));
    Put16(block + 4, static_cast<uint16_t>(records.size()));
    Put16(block + 6, includeNames ? 1 : 0);

    size_t at = TableEnd(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        const MacroRecord& r = records[i];
        const uint16_t n = MacroActionCount(r);
        const size_t nameLength = includeNames ? MacroNameLength(r) : 0;
        Put16(block + kMacroBlockHeaderSize + 2 * i, static_cast<uint16_t>(at));
        Put16(block + at, n);
        block[at + 2] = r.cycleCount;
        block[at + 3] = static_cast<uint8_t>(nameLength);
        at += kRecordHeaderSize;
        for (uint16_t a = 0; a < n; ++a) {
            bool clamped = false;
            const auto encoded = EncodeMacroAction(r.actions[a], keys, &clamped);
            std::copy(encoded.begin(), encoded.end(), block + at);
            at += kEncodedActionSize;
            if (clamped) build.clampedDelays.push_back({static_cast<uint16_t>(i), a, r.actions[a].delay});
        }
        for (size_t c = 0; c < nameLength; ++c, at += 2) Put16(block + at, r.name[c]);
    }
    return build;
}

MacroBlockBuild BuildMacroBlockForCapacity(std::span<const MacroRecord> records, uint32_t capacity,
                                           const MacroKeyVocabulary& keys) {
    const MacroBlockSizes sizes = MeasureMacroBlock(records);
    const MacroBlockLayout layout = ChooseMacroBlockLayout(sizes, capacity);
    if (layout == MacroBlockLayout::DoesNotFit) {
        MacroBlockBuild build;
        build.error = MacroBlockError::BeyondCapacity;
        return build;
    }
    MacroBlockBuild build = BuildMacroBlock(records, layout == MacroBlockLayout::WithNames, keys);
    build.namesDropped = build.error == MacroBlockError::None && layout == MacroBlockLayout::WithoutNames;
    return build;
}

MacroBlockError ReadMacroBlockHeader(std::span<const uint8_t> area, uint32_t capacity, MacroBlockHeader& header) {
    header = {};
    if (area.size() < kMacroBlockHeaderSize) return MacroBlockError::Truncated;
    if (Get16(area.data()) != kMacroBlockMagic) return MacroBlockError::NoMagic;
    const uint16_t size = Get16(area.data() + 2);
    const uint16_t count = Get16(area.data() + 4);
    if (count > kMaxMacros) return MacroBlockError::TooManyMacros;
    if (size < TableEnd(count)) return MacroBlockError::BadSize;
    if (capacity != 0 && size > capacity) return MacroBlockError::BeyondCapacity;
    header.size = size;
    header.count = count;
    header.namesIncluded = Get16(area.data() + 6);
    return MacroBlockError::None;
}

MacroBlockParse ParseMacroBlock(std::span<const uint8_t> block, std::u16string_view newNamePrefix,
                                const MacroKeyVocabulary& keys) {
    MacroBlockParse parse;
    MacroBlockHeader header;
    // The capacity was checked when the header was first read; here only the buffer bounds count.
    parse.error = ReadMacroBlockHeader(block, 0, header);
    if (parse.error != MacroBlockError::None) return parse;
    if (header.size > block.size()) {
        parse.error = MacroBlockError::Truncated;
        return parse;
    }
    const uint8_t* data = block.data();
    const size_t end = header.size;  // bytes past the stated size are not the block's
    const size_t recordsStart = TableEnd(header.count);

    const auto fail = [&parse](MacroBlockError error) {
        parse.error = error;
        parse.records.clear();
        parse.namesCut = 0;
        parse.actionsCut = 0;
        return std::move(parse);
    };
    try {
        parse.records.resize(header.count);
    } catch (const std::bad_alloc&) {
        return fail(MacroBlockError::OutOfMemory);
    }
    for (size_t i = 0; i < header.count; ++i) {
        const size_t at = Get16(data + kMacroBlockHeaderSize + 2 * i);
        if (at < recordsStart || at + kRecordHeaderSize > end) return fail(MacroBlockError::BadOffset);
        const uint16_t n = Get16(data + at);
        const size_t nameLength = data[at + 3];
        const size_t actionsAt = at + kRecordHeaderSize;
        const size_t nameAt = actionsAt + kEncodedActionSize * n;
        if (nameAt + 2 * nameLength > end) return fail(MacroBlockError::RecordPastEnd);

        MacroRecord& r = parse.records[i];
        r.cycleCount = data[at + 2];
        r.id = static_cast<uint16_t>(i + 1);
        r.actionCount = std::min(n, kMaxMacroActions);
        if (n > kMaxMacroActions) ++parse.actionsCut;
        for (uint16_t a = 0; a < r.actionCount; ++a) {
            r.actions[a] = DecodeMacroAction(std::span<const uint8_t, 4>(data + actionsAt + kEncodedActionSize * a, 4), keys);
        }
        std::u16string name(nameLength, u'\0');
        for (size_t c = 0; c < nameLength; ++c) name[c] = static_cast<char16_t>(Get16(data + nameAt + 2 * c));
        if (SetMacroName(r, name)) ++parse.namesCut;
        if (MacroNameLength(r) == 0) SetMacroName(r, NumberedMacroName(newNamePrefix, static_cast<int>(i + 1)));
    }
    return parse;
}

}  // namespace kw::model
