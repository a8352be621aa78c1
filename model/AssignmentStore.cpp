#include "model/AssignmentStore.h"

#include <mutex>

namespace kw::model {
namespace {

bool CarriesText(std::uint16_t kind) {
    return kind == static_cast<std::uint16_t>(AssignmentKind::LaunchProgram) ||
           kind == static_cast<std::uint16_t>(AssignmentKind::TextBlock);
}

}  // namespace

KeyAssignment GetAssignment(ConfigStore& store, int profile, int keyIndex) {
    if (!IsProfileBlockIndex(profile) || !IsRecordIndex(keyIndex)) return {};
    std::lock_guard<std::recursive_mutex> hold(store.lock);
    return store.configuration.blocks[static_cast<std::size_t>(profile)][static_cast<std::size_t>(keyIndex)];
}

bool SetAssignment(ConfigStore& store, int profile, int keyIndex, std::uint16_t kind, std::uint16_t tag,
                   std::uint32_t value, std::u16string_view text) {
    const auto entry = StringTable::EntryOf(profile, keyIndex);
    if (!entry || kind > kLastAssignmentKind) return false;
    if (kind == static_cast<std::uint16_t>(AssignmentKind::Key) &&
        (value == 0 || value == KeyIdOf(static_cast<KeyIndex>(keyIndex)))) {
        kind = static_cast<std::uint16_t>(AssignmentKind::Default);
        value = 0;
    }
    std::lock_guard<std::recursive_mutex> hold(store.lock);
    store.texts.Clear(*entry);
    KeyAssignment& record = store.configuration.blocks[static_cast<std::size_t>(profile)][static_cast<std::size_t>(keyIndex)];
    record.kind = kind;
    record.tag = tag;
    record.value = value;
    if (CarriesText(kind)) return store.texts.Set(*entry, text);
    return true;
}

}  // namespace kw::model
