#include "tools/kwctl/Subcommand.h"

#include "device/HidDevice.h"
#include "tests/virtualkb/TempFolder.h"
#include "virtualkb/BusFile.h"
#include "virtualkb/HostFiles.h"
#include "virtualkb/VirtualKeyboard.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kw::kwctl {
namespace {

using virtualkb::test::TempFolder;

struct Run {
    int code;
    std::string out;
    std::string err;
};

Run Kwctl(const Arguments& args) {
    std::ostringstream out, err;
    const int code = RunKwctl(args, out, err);
    return {code, out.str(), err.str()};
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(KwctlTest, HelpDocumentsEverySubcommandAndAction) {
    const auto help = Kwctl({"--help"});
    EXPECT_EQ(help.code, kExitOk);
    for (const auto& sub : Subcommands()) EXPECT_TRUE(Has(help.out, sub.name)) << sub.name;
    for (const char* action : {"virtual create", "virtual dump", "virtual unplug", "virtual plug", "virtual press"})
        EXPECT_TRUE(Has(help.out, std::string("kwctl ") + action)) << action;
    EXPECT_EQ(Kwctl({"virtual", "--help"}).out, Kwctl({"help", "virtual"}).out);
}

TEST(KwctlTest, MistakesAreUsageErrors) {
    TempFolder folder;
    const auto file = virtualkb::PathText(folder / "kb.state");
    ASSERT_EQ(Kwctl({"virtual", "create", file, "126"}).code, kExitOk);
    struct Case {
        Arguments args;
        int code;
    };
    const Case cases[] = {
        {{}, kExitUsage},
        {{"frobnicate"}, kExitUsage},
        {{"virtual"}, kExitUsage},
        {{"virtual", "dump"}, kExitUsage},
        {{"virtual", "shake", file}, kExitUsage},
        {{"virtual", "press", file}, kExitUsage},
        {{"virtual", "press", file, "zz"}, kExitUsage},
        {{"virtual", "press", file, "10000"}, kExitUsage},
        {{"virtual", "press", file, "0"}, kExitUsage},
        {{"virtual", "create", file, "127"}, kExitUsage},
        {{"virtual", "create", file}, kExitFailed},
        {{"virtual", "plug", file + ".typo"}, kExitFailed},
    };
    for (const auto& c : cases) {
        const auto run = Kwctl(c.args);
        EXPECT_EQ(run.code, c.code) << testing::PrintToString(c.args);
        EXPECT_FALSE(run.err.empty()) << testing::PrintToString(c.args);
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "kb.state.typo.bus")) << "no bus beside nothing";
}

TEST(KwctlTest, DumpShowsTheStateAsJson) {
    TempFolder folder;
    const auto file = virtualkb::PathText(folder / "kb.state");
    ASSERT_EQ(Kwctl({"virtual", "create", file, "126"}).code, kExitOk);
    ASSERT_EQ(Kwctl({"virtual", "press", file, "0x1811"}).code, kExitOk);
    auto dump = Kwctl({"virtual", "dump", file});
    ASSERT_EQ(dump.code, kExitOk) << dump.err;
    const char* parts[] = {"\"vendorId\": \"0x0C45\"", "\"keys\": 126", "\"plugged\": true", "\"bootMode\": false",
                           "\"holder\": null", "\"activeProfile\": 0", "\"macroCapacity\": 32640",
                           "\"effects\": [1, 2, 3", "\"defaultKeyMap\": \"020229",
                           "\"lightingRecords\": [\"01040200ffffffff", "\"macroArea\": \"aa5510",
                           "{\"sequence\": 1, \"usage\": \"0x1811\"}"};
    for (const char* part : parts)
        EXPECT_TRUE(Has(dump.out, part)) << part;
    EXPECT_EQ(std::count(dump.out.begin(), dump.out.end(), '{'), std::count(dump.out.begin(), dump.out.end(), '}'));

    auto keyboard = [&] {
        std::string error;
        return virtualkb::VirtualKeyboard::OpenStateFile(virtualkb::HostPath(file), *virtualkb::ModelWithKeys(128), error);
    }();
    ASSERT_TRUE(keyboard);
    ASSERT_EQ(Kwctl({"virtual", "unplug", file}).code, kExitOk);
    dump = Kwctl({"virtual", "dump", file});
    EXPECT_TRUE(Has(dump.out, "\"plugged\": false"));
    EXPECT_TRUE(Has(dump.out, "\"holder\": {\"processId\": " + std::to_string(virtualkb::ThisProcessId())));
}

TEST(KwctlTest, AHeldKeyboardFollowsKwctlWhileItsStoredContentsStayUntouched) {
    TempFolder folder;
    const auto path = folder / "kb.state";
    const auto file = virtualkb::PathText(path);
    std::string error;
    auto keyboard = virtualkb::VirtualKeyboard::OpenStateFile(path, *virtualkb::ModelWithKeys(128), error);
    ASSERT_TRUE(keyboard) << error;
    std::vector<uint8_t> before, after;
    ASSERT_TRUE(virtualkb::ReadWholeFile(path, before));

    device::HidDevice reader(*keyboard);
    ASSERT_TRUE(reader.Open(keyboard->Paths().consumer, true, false, true, false));
    ASSERT_EQ(Kwctl({"virtual", "press", file, "0402"}).code, kExitOk);
    std::vector<uint8_t> report(3);
    size_t got = 0;
    ASSERT_TRUE(reader.ReadReport(report.data(), report.size(), &got, 1000));
    EXPECT_EQ(report[1] | (report[2] << 8), 0x0402);

    ASSERT_EQ(Kwctl({"virtual", "unplug", file}).code, kExitOk);
    EXPECT_FALSE(keyboard->Probe(keyboard->Paths().vendor));
    ASSERT_EQ(Kwctl({"virtual", "plug", file}).code, kExitOk);
    EXPECT_TRUE(keyboard->Probe(keyboard->Paths().vendor));

    ASSERT_TRUE(virtualkb::ReadWholeFile(path, after));
    EXPECT_EQ(before, after);
}

}  // namespace
}  // namespace kw::kwctl
