#include "model/MacroStore.h"

#include "app/AppGlobals.h"
#include "i18n/Language.h"
#include "model/MacroCatalogueKeys.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <string>
#include <utility>

namespace kw::model {

namespace {

using Hold = std::lock_guard<std::recursive_mutex>;

// The language file's texts are wide strings; names in records are UTF-16 whatever wchar_t is.
std::u16string ToUtf16(const std::wstring& text) {
    std::u16string out;
    out.reserve(text.size());
    for (const wchar_t c : text) {
        const auto cp = static_cast<uint32_t>(c);
        if (cp > 0xFFFF && cp <= 0x10FFFF) {
            out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else if (cp <= 0xFFFF) {
            out.push_back(static_cast<char16_t>(cp));
        } else {
            out.push_back(u'\uFFFD');
        }
    }
    return out;
}

}  // namespace

uint16_t FindMacroPosition(ConfigStore& store, uint16_t id) {
    Hold hold(store.lock);
    const auto records = store.macros.Records();
    const auto it = std::find_if(records.begin(), records.end(), [id](const MacroRecord& r) { return r.id == id; });
    return it == records.end() ? 0 : static_cast<uint16_t>(it - records.begin());
}

uint16_t MacroIdAt(ConfigStore& store, int position) {
    Hold hold(store.lock);
    if (position < 0 || position >= store.macros.Count()) return 0;
    return store.macros.Records()[static_cast<size_t>(position)].id;
}

MacroBlockSizes MeasureMacroBlock(ConfigStore& store) {
    Hold hold(store.lock);
    return MeasureMacroBlock(store.macros.Records());
}

MacroBlockBuild BuildMacroBlock(ConfigStore& store, bool includeNames, const MacroKeyVocabulary& keys) {
    Hold hold(store.lock);
    return BuildMacroBlock(store.macros.Records(), includeNames, keys);
}

MacroBlockBuild BuildMacroBlockForCapacity(ConfigStore& store, uint32_t capacity, const MacroKeyVocabulary& keys) {
    Hold hold(store.lock);
    return BuildMacroBlockForCapacity(store.macros.Records(), capacity, keys);
}

uint32_t KeyboardMacroCapacity() {
    const intptr_t slot = AppGlobals::Get(Slot::MacroCapacity);
    if (slot <= 0) return 0;
    return static_cast<uint32_t>(std::min<intptr_t>(slot, kMaxMacroBlockSize));
}

MacroBlockBuild BuildMacroBlockForKeyboard(ConfigStore& store) {
    return BuildMacroBlockForCapacity(store, KeyboardMacroCapacity(), CatalogueMacroKeys());
}

MacroBlockParse ParseMacroBlock(std::span<const uint8_t> block, const MacroKeyVocabulary& keys) {
    const std::u16string prefix = ToUtf16(i18n::LangText(L"MACRO_NEW_PREFIX", i18n::CurrentLanguageIndex()));
    return ParseMacroBlock(block, prefix, keys);
}

void FreeMacroSet(ConfigStore& store) {
    Hold hold(store.lock);
    if (store.macros.Count() != 0) store.macros.Free();
}

bool ReplaceMacroSet(ConfigStore& store, std::vector<MacroRecord>&& records) {
    Hold hold(store.lock);
    return store.macros.Replace(std::move(records));
}

bool CopyMacroSet(ConfigStore& from, ConfigStore& to) {
    Hold holdFrom(from.lock);
    Hold holdTo(to.lock);
    if (&from == &to) return true;
    to.macros.Free();
    try {
        const auto records = from.macros.Records();
        return to.macros.Replace(std::vector<MacroRecord>(records.begin(), records.end()));
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace kw::model
