// Sending the configuration to a virtual keyboard and reading it back, with every fault the keyboard
// can show at every exchange.
#include "model/ConfigTransfer.h"

#include "model/KeyMap.h"
#include "model/MacroCatalogueKeys.h"
#include "model/ProfileFile.h"
#include "model/UserDataFolder.h"
#include "tests/model/ProfileFakeFiles.h"
#include "tests/device/ProtocolRig.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace kw::model {
namespace {

using device::CommandCode;
using test::Model126;
using test::Model128;
using test::ProtocolRig;

constexpr KeyId kKeyA = 0x01E;
constexpr KeyId kKeyB = 0x030;
constexpr KeyId kKeyEsc = 0x001;
constexpr KeyId kKeyQ = 0x010;

struct Notices : TransferNotices {
    void Show(const std::wstring& key, const std::wstring&) override { keys.push_back(key); }
    std::vector<std::wstring> keys;
};

MacroRecord MakeMacro(uint16_t id, std::u16string_view name, uint16_t actions) {
    MacroRecord r;
    r.id = id;
    r.cycleCount = 1;
    SetMacroName(r, name);
    r.actionCount = actions;
    for (uint16_t i = 0; i < actions; ++i) {
        r.actions[i].keyId = (i / 2) % 2 ? kKeyA : kKeyB;
        r.actions[i].direction = i % 2 ? kMacroRelease : kMacroPress;
        r.actions[i].delay = 10 * (i + 1);
    }
    return r;
}

KeyAssignment& Record(ConfigStore& store, int profile, KeyId key) {
    return store.configuration.blocks[static_cast<size_t>(profile)][KeyIndexOf(key)];
}

// A working store whose profiles each differ from the factory map in a few keys of every kind that
// reaches the keyboard, and two macros.
void FillWorking(ConfigStore& working, size_t macroActions = 3) {
    for (auto& block : working.configuration.blocks) ResetProfileBlock(block);
    for (int p = 0; p < kKeyboardProfiles; ++p) {
        Record(working, p, kKeyA) = {static_cast<uint16_t>(AssignmentKind::Disabled), 0, 0, 0, 0};
        Record(working, p, kKeyB) = {static_cast<uint16_t>(AssignmentKind::Key), 0, kKeyEsc, 0, 0};
        Record(working, p, kKeyEsc) = {static_cast<uint16_t>(AssignmentKind::Macro), 1, static_cast<uint32_t>(1 + p % 2), 0, 0};
        Record(working, p, kKeyQ) = {static_cast<uint16_t>(AssignmentKind::Multimedia), 0, static_cast<uint32_t>(3 + p), 0, 0};
    }
    std::vector<MacroRecord> macros;
    macros.push_back(MakeMacro(1, u"first", static_cast<uint16_t>(macroActions)));
    macros.push_back(MakeMacro(2, u"second", 4));
    ASSERT_TRUE(working.macros.Replace(std::move(macros)));
}

struct Transfer {
    explicit Transfer(const device::KeyboardModel& model, device::ProtocolTimings timings = test::kQuickTimings)
        : rig(model, timings) {
        const auto factory = rig.keyboard.Contents();
        rig.state.SetDefaultKeyMap(factory.defaultKeyMap);
        capacity = static_cast<uint32_t>(factory.MacroCapacity());
    }
    TransferLink Link(int profile = 0) {
        return TransferLink{rig.protocol, rig.state, capacity, profile, CatalogueMacroKeys()};
    }
    std::vector<device::CommandFrame::Bytes> Requests(CommandCode command) const {
        std::vector<device::CommandFrame::Bytes> out;
        for (const auto& r : rig.Requests())
            if (r[device::kFrameCommandAt] == static_cast<uint8_t>(command)) out.push_back(r);
        return out;
    }
    ProtocolRig rig;
    uint32_t capacity = 0;
};

// The keyboard takes writes only between a begin and an end.
void WriteMacroArea(Transfer& t, std::span<const uint8_t> bytes) {
    ASSERT_EQ(device::kResultSuccess, t.rig.protocol.CMD_BEGIN());
    ASSERT_EQ(device::kResultSuccess, t.rig.protocol.CMD_WRITE_MACROS(bytes));
    ASSERT_EQ(device::kResultSuccess, t.rig.protocol.CMD_END());
}

// One exchange fails: a lost request is lost on every try, other faults end the exchange at once.
virtualkb::Fault FaultAtExchange(virtualkb::FaultKind kind, size_t exchange) {
    virtualkb::Fault fault;
    fault.kind = kind;
    fault.skip = static_cast<int>(exchange);
    fault.times = kind == virtualkb::FaultKind::NoAnswer ? test::kQuickTimings.tries : 1;
    return fault;
}

struct Geometry {
    const device::KeyboardModel& (*model)();
    bool allProfiles;
    int currentProfile;
};

class SendAndReadBack : public ::testing::TestWithParam<Geometry> {};

TEST_P(SendAndReadBack, WhatIsSentComesBack) {
    const Geometry g = GetParam();
    Transfer t(g.model());
    ConfigStore working, applied;
    FillWorking(working);
    Notices notices;
    const auto factory = t.rig.keyboard.Contents();

    const TransferResult sent = SendConfiguration(working, applied, t.Link(g.currentProfile), notices, {g.allProfiles});
    ASSERT_TRUE(sent.Ok()) << static_cast<int>(sent.failedAt);
    EXPECT_TRUE(notices.keys.empty());
    EXPECT_EQ(0, std::memcmp(&applied.configuration, &working.configuration, sizeof(ConfigurationBuffer)));
    EXPECT_EQ(2, applied.macros.Count());

    // Only the profiles sent changed on the keyboard, each at its own address, in order.
    const auto stored = t.rig.keyboard.Contents();
    const std::vector<int> sentProfiles = g.allProfiles ? std::vector<int>{0, 1, 2} : std::vector<int>{g.currentProfile};
    for (int p = 0; p < kKeyboardProfiles; ++p) {
        const bool wasSent = std::find(sentProfiles.begin(), sentProfiles.end(), p) != sentProfiles.end();
        const auto before = factory.KeyMap(p);
        const auto after = stored.KeyMap(p);
        EXPECT_EQ(!wasSent, std::equal(before.begin(), before.end(), after.begin(), after.end())) << "profile " << p;
    }
    const auto keyMapFrames = t.Requests(CommandCode::WriteKeyMap);
    const size_t framesPerProfile = (static_cast<size_t>(g.model().keyMapBytes) + 55) / 56;
    ASSERT_EQ(framesPerProfile * sentProfiles.size(), keyMapFrames.size());
    for (size_t i = 0; i < sentProfiles.size(); ++i)
        EXPECT_EQ(sentProfiles[i] * g.model().keyMapBytes, test::AddressOf(keyMapFrames[i * framesPerProfile]));
    const auto all = t.rig.Requests();
    EXPECT_EQ(static_cast<uint8_t>(CommandCode::Begin), all.front()[device::kFrameCommandAt]);
    EXPECT_EQ(static_cast<uint8_t>(CommandCode::End), all.back()[device::kFrameCommandAt]);

    ReadBackImage image;
    const TransferResult read = ReadBackConfiguration(t.Link(g.currentProfile), image);
    ASSERT_TRUE(read.Ok()) << static_cast<int>(read.failedAt);
    for (const int p : sentProfiles) {
        for (const KeyId key : {kKeyA, kKeyB, kKeyEsc, kKeyQ}) {
            const KeyAssignment& want = Record(working, p, key);
            const KeyAssignment& got = image.configuration.blocks[static_cast<size_t>(p)][KeyIndexOf(key)];
            EXPECT_EQ(want.kind, got.kind) << "profile " << p << " key " << key;
            EXPECT_EQ(want.value, got.value) << "profile " << p << " key " << key;
        }
    }
    ASSERT_EQ(2u, image.macros.size());
    EXPECT_EQ(u"second", MacroName(image.macros[1]));
    EXPECT_EQ(4, image.macros[1].actionCount);
    EXPECT_EQ(kKeyB, image.macros[1].actions[0].keyId);
    ProfileBlock cleared;
    ResetProfileBlock(cleared);
    EXPECT_EQ(cleared, image.configuration.blocks[3]);
}

INSTANTIATE_TEST_SUITE_P(Geometries, SendAndReadBack,
                         ::testing::Values(Geometry{&Model126, false, 0}, Geometry{&Model126, true, 2},
                                           Geometry{&Model128, false, 1}, Geometry{&Model128, true, 0}));

TEST(SendConfiguration, NoMacrosSendsTheSixteenByteHeaderInOneFrame) {
    Transfer t(Model128());
    ConfigStore working, applied;
    Notices notices;
    ASSERT_TRUE(SendConfiguration(working, applied, t.Link(), notices).Ok());
    const auto frames = t.Requests(CommandCode::WriteMacros);
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(16, frames[0][device::kFrameLengthAt]);
    EXPECT_EQ(0, test::AddressOf(frames[0]));
    EXPECT_EQ(0xAA, t.rig.keyboard.Contents().macroArea[0]);
    EXPECT_EQ(0x55, t.rig.keyboard.Contents().macroArea[1]);
}

TEST(SendConfiguration, MacroAreaTooSmallOrUnknownSendsNothing) {
    for (const uint32_t capacity : {0u, 256u}) {
        Transfer t(Model128());
        ConfigStore working, applied;
        FillWorking(working, 3000);
        TransferLink link = t.Link();
        link.macroCapacity = capacity;
        Notices notices;
        const TransferResult refused = SendConfiguration(working, applied, link, notices);
        EXPECT_EQ(TransferStep::MacrosDoNotFit, refused.failedAt) << capacity;
        EXPECT_EQ(std::vector<std::wstring>{L"EXTRA_MACRO_TOO_LONG"}, notices.keys);
        EXPECT_TRUE(t.rig.Requests().empty());
        EXPECT_EQ(2, applied.macros.Count()) << "the snapshot is taken before the check";
    }
}

TEST(SendConfiguration, NamesAreDroppedWhenOnlyTheBlockWithoutThemFits) {
    Transfer t(Model128());
    ConfigStore working, applied;
    FillWorking(working);
    const MacroBlockSizes sizes = MeasureMacroBlock(working.macros.Records());
    ASSERT_LT(sizes.withoutNames, sizes.withNames);
    TransferLink link = t.Link();
    link.macroCapacity = sizes.withoutNames;
    Notices notices;
    const TransferResult r = SendConfiguration(working, applied, link, notices);
    EXPECT_TRUE(r.Ok());
    EXPECT_TRUE(r.namesDropped);
    EXPECT_EQ(std::vector<std::wstring>{L"EXTRA_PROFILE_SPACE_TIGHT"}, notices.keys);
    const auto area = t.rig.keyboard.Contents().macroArea;
    EXPECT_EQ(sizes.withoutNames, static_cast<uint32_t>(area[2] | area[3] << 8));
}

TEST(SendConfiguration, UnknownCurrentProfileFailsBeforeAnythingIsSent) {
    Transfer t(Model126());
    ConfigStore working, applied;
    Notices notices;
    const TransferResult r = SendConfiguration(working, applied, t.Link(-1), notices);
    EXPECT_EQ(TransferStep::BadProfile, r.failedAt);
    EXPECT_EQ(device::kResultBadProfile, r.code);
    EXPECT_TRUE(t.rig.Requests().empty());
}

TEST(SendConfiguration, RefusedUntilTheDefaultKeyMapHasBeenRead) {
    Transfer t(Model128());
    t.rig.state.MarkDefaultKeyMapUnread();
    ConfigStore working, applied;
    Notices notices;
    EXPECT_EQ(TransferStep::DefaultMapNotRead, SendConfiguration(working, applied, t.Link(), notices).failedAt);
    ReadBackImage image;
    EXPECT_EQ(TransferStep::DefaultMapNotRead, ReadBackConfiguration(t.Link(), image).failedAt);
    EXPECT_TRUE(t.rig.Requests().empty());
}

// Defaults installed after a failed reload must not reach the keyboard unless the owner agrees.
TEST(SendConfiguration, DefaultsAfterAFailedReloadAskBeforeOverwritingTheKeyboard) {
    Transfer t(Model128());
    ConfigStore working, applied;
    FillWorking(working);
    Notices notices;
    ASSERT_TRUE(SendConfiguration(working, applied, t.Link(), notices, {true}).Ok());
    const auto keyboardBefore = t.rig.keyboard.Contents();

    t.rig.keyboard.InjectFault({virtualkb::FaultKind::StatusFF, CommandCode::ReadMacros, 0, 1});
    bool saved = false;
    const ReloadOutcome reload = ReloadFromKeyboard(working, t.Link(), [&](const ReadBackImage&, int) { return saved = true; });
    EXPECT_FALSE(reload.fromKeyboard);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(working.notFromKeyboard);
    EXPECT_EQ(0, working.macros.Count());

    t.rig.keyboard.ResetTraffic();
    const TransferResult refused = SendConfiguration(working, applied, t.Link(), notices);
    EXPECT_EQ(TransferStep::NotReadFromKeyboard, refused.failedAt);
    EXPECT_EQ(0u, t.rig.keyboard.TrafficSeen().requests);
    EXPECT_EQ(keyboardBefore.keyMaps, t.rig.keyboard.Contents().keyMaps);
    EXPECT_EQ(2, applied.macros.Count()) << "a refused send keeps the last snapshot";

    SendOptions agreed;
    agreed.overwriteUnreadKeyboard = true;
    EXPECT_TRUE(SendConfiguration(working, applied, t.Link(), notices, agreed).Ok());

    const ReloadOutcome again = ReloadFromKeyboard(working, t.Link(), [&](const ReadBackImage&, int) { return saved = true; });
    EXPECT_TRUE(again.fromKeyboard);
    EXPECT_TRUE(saved);
    EXPECT_FALSE(working.notFromKeyboard);
}

TEST(ReadBackConfiguration, AreaWithoutTheMagicGivesNoMacros) {
    for (const uint16_t first : {uint16_t{0x0000}, uint16_t{0xAA55}, uint16_t{0xFFFF}}) {
        Transfer t(Model126());
        ConfigStore working, applied;
        FillWorking(working);
        Notices notices;
        ASSERT_TRUE(SendConfiguration(working, applied, t.Link(), notices).Ok());
        const std::array<uint8_t, 2> head{static_cast<uint8_t>(first), static_cast<uint8_t>(first >> 8)};
        WriteMacroArea(t, head);
        ReadBackImage image;
        ASSERT_TRUE(ReadBackConfiguration(t.Link(), image).Ok()) << first;
        EXPECT_TRUE(image.macros.empty());
        EXPECT_EQ(static_cast<uint16_t>(AssignmentKind::Disabled), image.configuration.blocks[0][KeyIndexOf(kKeyA)].kind);
    }
}

// Sizes the keyboard states are checked before they are used to size a read.
TEST(ReadBackConfiguration, MacroHeaderThatDoesNotHoldTogetherIsRefused) {
    struct Case {
        const char* what;
        uint16_t size;
        uint16_t count;
    };
    const Case cases[] = {
        {"size below the header", 8, 0},
        {"size past the capacity", 0xFFF0, 1},
        {"more macros than a set holds", 2000, 101},
        {"count not matching the block", 16, 3},
    };
    for (const Case& c : cases) {
        Transfer t(Model128());
        const std::array<uint8_t, 16> head{0xAA, 0x55, static_cast<uint8_t>(c.size), static_cast<uint8_t>(c.size >> 8),
                                           static_cast<uint8_t>(c.count), static_cast<uint8_t>(c.count >> 8)};
        WriteMacroArea(t, head);
        ReadBackImage image;
        image.macros.push_back(MakeMacro(9, u"kept", 1));
        const TransferResult r = ReadBackConfiguration(t.Link(), image);
        EXPECT_EQ(TransferStep::BadMacroArea, r.failedAt) << c.what;
        ASSERT_EQ(1u, image.macros.size()) << c.what;
        EXPECT_EQ(9, image.macros[0].id);
    }
}

// Every exchange of a send and of a read-back fails once with each fault in turn: the failure is
// reported, and neither the working store nor the saved profile changes.
struct FaultCase {
    virtualkb::FaultKind kind;
    const char* name;
};
const FaultCase kFaults[] = {
    {virtualkb::FaultKind::NoAnswer, "no answer"},   {virtualkb::FaultKind::StatusFF, "status FF"},
    {virtualkb::FaultKind::StatusFE, "status FE"},   {virtualkb::FaultKind::Unplug, "removal"},
    {virtualkb::FaultKind::WriteFails, "write fails"},
};

// A user data folder whose profile file holds an earlier configuration.
std::wstring SavedProfile(testing::MemoryProfileFiles& files) {
    EXPECT_NE(UserDataStatus::CannotCreate, EnsureUserDataFolder(files, L"/skins/"));
    const auto path = ProfileFilePath(files, 0);
    EXPECT_TRUE(path.has_value());
    ConfigStore earlier;
    CreateDefaultProfile(earlier);
    Record(earlier, 0, kKeyQ).kind = static_cast<uint16_t>(AssignmentKind::Disabled);
    EXPECT_TRUE(WriteProfileFile(earlier, *path, files));
    files.replaceCalls = 0;
    return *path;
}

TEST(ReloadFromKeyboard, SavesTheProfileFileAndLoadsIt) {
    Transfer t(Model128());
    ConfigStore working, applied;
    FillWorking(working);
    Notices notices;
    ASSERT_TRUE(SendConfiguration(working, applied, t.Link(), notices, {true}).Ok());
    testing::MemoryProfileFiles files;
    const std::wstring path = SavedProfile(files);

    ConfigStore reloaded;
    const ReloadOutcome r = ReloadFromKeyboard(reloaded, t.Link(2), ProfileFileSaver(files));
    ASSERT_TRUE(r.readBack.Ok());
    EXPECT_TRUE(r.fromKeyboard);
    ConfigStore fromFile;
    ASSERT_TRUE(ReadProfileFile(fromFile, path, files).Ok());
    EXPECT_EQ(0, std::memcmp(&fromFile.configuration, &reloaded.configuration, sizeof(ConfigurationBuffer)));
    EXPECT_EQ(static_cast<uint16_t>(AssignmentKind::Disabled), Record(fromFile, 2, kKeyA).kind);
    EXPECT_EQ(2, fromFile.macros.Count());

    // A profile file that cannot be written leaves the old one and is reported.
    files.failWrites = true;
    const auto before = files.files[path];
    const ReloadOutcome failed = ReloadFromKeyboard(reloaded, t.Link(), ProfileFileSaver(files));
    EXPECT_EQ(TransferStep::SaveFile, failed.readBack.failedAt);
    EXPECT_FALSE(failed.fromKeyboard);
    EXPECT_TRUE(reloaded.notFromKeyboard);
    EXPECT_EQ(before, files.files[path]);
}

class TransferFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(TransferFaults, EveryExchangeOfASendReportsItsFailure) {
    const FaultCase f = GetParam();
    size_t exchanges = 0;
    {
        Transfer clean(Model126());
        ConfigStore working, applied;
        FillWorking(working);
        Notices notices;
        ASSERT_TRUE(SendConfiguration(working, applied, clean.Link(), notices).Ok());
        exchanges = clean.rig.Requests().size();
    }
    ASSERT_GT(exchanges, 4u);
    const size_t firstKeyMapExchange = exchanges - 1 - (static_cast<size_t>(Model126().keyMapBytes) + 55) / 56;
    for (size_t at = 0; at < exchanges; ++at) {
        Transfer t(Model126());
        const auto factoryMaps = t.rig.keyboard.Contents().keyMaps;
        ConfigStore working, applied;
        FillWorking(working);
        const ConfigurationBuffer before = working.configuration;
        t.rig.keyboard.InjectFault(FaultAtExchange(f.kind, at));
        Notices notices;
        const TransferResult r = SendConfiguration(working, applied, t.Link(), notices);
        EXPECT_FALSE(r.Ok()) << f.name << " at exchange " << at;
        EXPECT_EQ(0, std::memcmp(&before, &working.configuration, sizeof before));
        EXPECT_EQ(2, working.macros.Count());
        // Key maps that would call macros the keyboard did not take are not sent.
        if (at < firstKeyMapExchange) {
            EXPECT_EQ(factoryMaps, t.rig.keyboard.Contents().keyMaps) << f.name << " at exchange " << at;
        }
    }
}

TEST_P(TransferFaults, EveryExchangeOfAReadBackLeavesTheSavedProfileAlone) {
    const FaultCase f = GetParam();
    size_t exchanges = 0;
    {
        Transfer clean(Model128());
        ConfigStore working, applied;
        FillWorking(working);
        Notices notices;
        ASSERT_TRUE(SendConfiguration(working, applied, clean.Link(), notices, {true}).Ok());
        clean.rig.keyboard.ResetTraffic();
        ReadBackImage image;
        ASSERT_TRUE(ReadBackConfiguration(clean.Link(), image).Ok());
        exchanges = clean.rig.keyboard.TrafficSeen().requests;
    }
    ASSERT_GT(exchanges, 30u);
    for (size_t at = 0; at < exchanges; ++at) {
        Transfer t(Model128());
        ConfigStore working, applied;
        FillWorking(working);
        Notices notices;
        ASSERT_TRUE(SendConfiguration(working, applied, t.Link(), notices, {true}).Ok());
        t.rig.keyboard.ResetTraffic();
        t.rig.keyboard.InjectFault(FaultAtExchange(f.kind, at));
        testing::MemoryProfileFiles files;
        const std::wstring path = SavedProfile(files);
        const auto saved = files.files[path];
        const ReloadOutcome r = ReloadFromKeyboard(working, t.Link(), ProfileFileSaver(files));
        EXPECT_FALSE(r.readBack.Ok()) << f.name << " at exchange " << at;
        EXPECT_FALSE(r.fromKeyboard);
        EXPECT_EQ(saved, files.files[path]) << f.name << " at exchange " << at;
        EXPECT_EQ(0, files.replaceCalls);
        EXPECT_TRUE(working.notFromKeyboard);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, TransferFaults, ::testing::ValuesIn(kFaults),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             for (auto& c : n) if (c == ' ') c = '_';
                             return n;
                         });

}  // namespace
}  // namespace kw::model
