#include "model/ConfigTransfer.h"

#include "app/AppGlobals.h"
#include "device/CommandChannel.h"
#include "i18n/Language.h"
#include "model/KeyMap.h"
#include "model/MacroCatalogueKeys.h"
#include "model/MacroStore.h"
#include "model/ProfileFile.h"
#include "model/UserDataFolder.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <new>
#include <memory>
#include <optional>

namespace kw::model {

namespace {

using Hold = std::lock_guard<std::recursive_mutex>;

void Tell(TransferNotices& notices, const wchar_t* key) {
    notices.Show(key, i18n::LangText(key, i18n::CurrentLanguageIndex()));
}

TransferResult Failed(TransferStep step, int code = device::kResultSuccess, int profile = -1) {
    TransferResult result;
    result.failedAt = step;
    result.code = code;
    result.profile = profile;
    return result;
}

// The factory map of this connection with its geometry; nothing while it has not been read.
struct Defaults {
    std::array<uint8_t, device::kMaxKeyMapBytes> bytes{};
    KeyMapGeometry geometry;
    // Made on each use, so that the view always looks at this copy's bytes.
    DefaultKeyMap Map() const { return DefaultKeyMap{geometry, bytes, true}; }
};

std::optional<Defaults> ReadDefaults(const device::KeyboardState& keyboard) {
    auto bytes = keyboard.DefaultKeyMap();
    if (!bytes || !keyboard.DefaultKeyMapRead()) return std::nullopt;
    std::optional<Defaults> defaults(std::in_place);
    defaults->bytes = *bytes;
    defaults->geometry = KeyMapGeometry{keyboard.KeyCount(), keyboard.KeyMapBytes()};
    if (CheckDefaultKeyMap(defaults->Map()) != KeyMapStatus::Ok) return std::nullopt;
    return defaults;
}

bool Acknowledged(int code) { return code == device::kResultSuccess; }

}  // namespace

TransferLink KeyboardTransferLink() {
    const intptr_t capacity = AppGlobals::Get(Slot::MacroCapacity);
    const intptr_t profile = AppGlobals::Get(Slot::ActiveProfile);
    return TransferLink{
        device::Commands(),
        device::TheKeyboard(),
        capacity > 0 ? static_cast<uint32_t>(std::min<intptr_t>(capacity, kMaxMacroBlockSize)) : 0u,
        profile >= 0 && profile < kKeyboardProfiles ? static_cast<int>(profile) : -1,
        CatalogueMacroKeys(),
    };
}

TransferResult SendConfiguration(ConfigStore& working, ConfigStore& applied, const TransferLink& link,
                                 TransferNotices& notices, SendOptions options) {
    Hold holdWorking(working.lock);
    if (working.notFromKeyboard && !options.overwriteUnreadKeyboard) return Failed(TransferStep::NotReadFromKeyboard);
    Hold holdApplied(applied.lock);

    // The snapshot is taken whatever happens next: it is the configuration of the last send.
    applied.macros.Free();
    applied.configuration = working.configuration;
    if (!CopyMacroSet(working, applied)) return Failed(TransferStep::OutOfMemory);

    MacroBlockBuild block = BuildMacroBlockForCapacity(applied, link.macroCapacity, link.keys);
    if (block.error == MacroBlockError::BeyondCapacity || block.error == MacroBlockError::TooManyMacros) {
        Tell(notices, L"EXTRA_MACRO_TOO_LONG");
        return Failed(TransferStep::MacrosDoNotFit);
    }
    if (block.error != MacroBlockError::None) return Failed(TransferStep::OutOfMemory);

    const auto defaults = ReadDefaults(link.keyboard);
    if (!defaults) return Failed(TransferStep::DefaultMapNotRead);

    std::vector<int> profiles;
    if (options.allProfiles) {
        profiles = {0, 1, 2};
    } else {
        if (link.currentProfile < 0 || link.currentProfile >= kKeyboardProfiles)
            return Failed(TransferStep::BadProfile, device::kResultBadProfile, link.currentProfile);
        profiles = {link.currentProfile};
    }
    const MacroPositionLookup position = [&applied](uint32_t id) -> size_t {
        return id > 0xFFFF ? 0 : FindMacroPosition(applied, static_cast<uint16_t>(id));
    };
    std::array<KeyMapBytes, kKeyboardProfiles> maps{};
    for (const int p : profiles) {
        if (EncodeKeyMap(p, applied, defaults->Map(), position, maps[static_cast<size_t>(p)]) != KeyMapStatus::Ok)
            return Failed(TransferStep::BadProfile, device::kResultBadProfile, p);
    }

    TransferResult result;
    result.namesDropped = block.namesDropped;
    const auto keyMapBytes = static_cast<size_t>(defaults->geometry.keyMapBytes);
    int code = link.commands.CMD_BEGIN();
    if (!Acknowledged(code)) {
        result = Failed(TransferStep::Begin, code);
    } else {
        code = link.commands.CMD_WRITE_MACROS(block.bytes);
        if (!Acknowledged(code)) result = Failed(TransferStep::WriteMacros, code);
        for (size_t i = 0; result.Ok() && i < profiles.size(); ++i) {
            const int p = profiles[i];
            code = link.commands.CMD_WRITE_KEYMAP(p, std::span(maps[static_cast<size_t>(p)]).first(keyMapBytes));
            if (!Acknowledged(code)) result = Failed(TransferStep::WriteKeyMap, code, p);
        }
        // The end closes what was begun even after a failure, so the keyboard does not wait in the
        // middle of a send; its own failure only counts when everything before it went through.
        code = link.commands.CMD_END();
        if (result.Ok() && !Acknowledged(code)) result = Failed(TransferStep::End, code);
        result.namesDropped = block.namesDropped;
    }
    if (block.namesDropped) Tell(notices, L"EXTRA_PROFILE_SPACE_TIGHT");
    return result;
}

TransferResult ReadBackConfiguration(const TransferLink& link, ReadBackImage& image) {
    if (link.currentProfile < 0 || link.currentProfile >= kKeyboardProfiles)
        return Failed(TransferStep::BadProfile, device::kResultBadProfile, link.currentProfile);
    const auto defaults = ReadDefaults(link.keyboard);
    if (!defaults) return Failed(TransferStep::DefaultMapNotRead);
    const auto keyMapBytes = static_cast<size_t>(defaults->geometry.keyMapBytes);

    std::array<KeyMapBytes, kKeyboardProfiles> maps{};
    for (int p = 0; p < kKeyboardProfiles; ++p) {
        const int code = link.commands.CMD_READ_KEYMAP(p, std::span(maps[static_cast<size_t>(p)]).first(keyMapBytes));
        if (!Acknowledged(code)) return Failed(TransferStep::ReadKeyMap, code, p);
    }

    std::array<uint8_t, kMacroBlockHeaderSize> head{};
    int code = link.commands.CMD_READ_MACROS(head);
    if (!Acknowledged(code)) return Failed(TransferStep::ReadMacroHeader, code);

    ReadBackImage fresh;
    MacroBlockHeader header;
    const MacroBlockError headError = ReadMacroBlockHeader(head, link.macroCapacity, header);
    if (headError != MacroBlockError::None && headError != MacroBlockError::NoMagic)
        return Failed(TransferStep::BadMacroArea);
    if (headError == MacroBlockError::None) {
        std::vector<uint8_t> block;
        try {
            block.resize(header.size);
        } catch (const std::bad_alloc&) {
            return Failed(TransferStep::OutOfMemory);
        }
        code = link.commands.CMD_READ_MACROS(block);
        if (!Acknowledged(code)) return Failed(TransferStep::ReadMacros, code);
        MacroBlockParse parse = ParseMacroBlock(block, link.keys);
        // The header was read in a separate exchange: a block that no longer matches it is refused.
        if (parse.error != MacroBlockError::None || parse.records.size() != header.count)
            return Failed(TransferStep::BadMacroArea);
        fresh.macros = std::move(parse.records);
    }

    for (int p = 0; p < kKeyboardProfiles; ++p) {
        const auto& map = maps[static_cast<size_t>(p)];
        if (DecodeKeyMap(std::span(map).first(keyMapBytes), defaults->Map(),
                         fresh.configuration.blocks[static_cast<size_t>(p)]) != KeyMapStatus::Ok)
            return Failed(TransferStep::BadKeyMap, device::kResultSuccess, p);
    }
    ResetProfileBlock(fresh.configuration.blocks[kKeyboardProfiles]);
    WriteProfileHeaders(fresh.configuration, static_cast<uint16_t>(fresh.macros.size()), 0);
    image = std::move(fresh);
    return {};
}

bool InstallImage(ConfigStore& working, ReadBackImage&& image) {
    Hold hold(working.lock);
    if (!working.macros.Replace(std::move(image.macros))) return false;
    working.configuration = image.configuration;
    working.texts.ClearAll();
    working.notFromKeyboard = false;
    return true;
}

ReloadOutcome ReloadFromKeyboard(ConfigStore& working, const TransferLink& link, const ProfileImageSaver& save) {
    ReloadOutcome outcome;
    ReadBackImage image;
    outcome.readBack = ReadBackConfiguration(link, image);
    if (outcome.readBack.Ok() && !save(image, link.currentProfile)) outcome.readBack = Failed(TransferStep::SaveFile);
    if (outcome.readBack.Ok()) {
        outcome.fromKeyboard = InstallImage(working, std::move(image));
        if (!outcome.fromKeyboard) outcome.readBack = Failed(TransferStep::OutOfMemory);
    }
    if (!outcome.fromKeyboard) {
        Hold hold(working.lock);
        CreateDefaultProfile(working);
        working.notFromKeyboard = true;
    }
    return outcome;
}

ProfileImageSaver ProfileFileSaver(ProfileFiles& files) {
    return [&files](const ReadBackImage& image, int profile) {
        const auto path = ProfileFilePath(files, profile);
        if (!path) return false;
        try {
            // The writer takes a store; this one holds only the image, never the owner's work.
            auto store = std::make_unique<ConfigStore>();
            ReadBackImage copy = image;
            return InstallImage(*store, std::move(copy)) && WriteProfileFile(*store, *path, files);
        } catch (const std::bad_alloc&) {
            return false;
        }
    };
}

}  // namespace kw::model
