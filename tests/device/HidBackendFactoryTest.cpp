#include "device/HidBackendFactory.h"

#include "tests/virtualkb/TempFolder.h"
#include "virtualkb/HostFiles.h"

#include <gtest/gtest.h>

namespace kw::device {
namespace {

using virtualkb::test::TempFolder;

std::vector<std::wstring> Paths(HidBackend& backend) {
    std::vector<std::wstring> paths;
    EXPECT_TRUE(backend.Enumerate(paths));
    return paths;
}

TEST(HidBackendFactoryTest, AStateFileSelectsTheVirtualKeyboardOfTheAskedModel) {
    struct Case {
        const char* model;
        const wchar_t* vidPid;
    };
    for (const Case c : {Case{"126", L"vid_0c45&pid_5004"}, Case{"128", L"vid_320f&pid_5000"}, Case{"", L"vid_320f&pid_5000"}}) {
        SCOPED_TRACE(c.model);
        TempFolder folder;
        const auto file = folder / "kb.state";
        std::string error = "stale";
        auto backend = MakeHidBackend({virtualkb::PathText(file), c.model}, &error);
        EXPECT_EQ(error, "");
        const auto paths = Paths(*backend);
        ASSERT_EQ(paths.size(), 3u);
        for (const auto& path : paths) EXPECT_NE(path.find(c.vidPid), std::wstring::npos);
        EXPECT_TRUE(std::filesystem::exists(file));
    }
}

TEST(HidBackendFactoryTest, AVirtualKeyboardThatCannotBeHadShowsNoKeyboardAndSaysWhy) {
    TempFolder folder;
    const auto file = folder / "kb.state";
    std::string error;
    auto holder = MakeHidBackend({virtualkb::PathText(file), ""}, &error);
    ASSERT_EQ(error, "");
    struct Case {
        const char* name;
        BackendRequest request;
        const char* says;
    };
    const Case cases[] = {
        {"held by another", {virtualkb::PathText(file), ""}, "held by process"},
        {"unknown model", {virtualkb::PathText(folder / "other.state"), "127"}, kVirtualModelVariable},
        {"folder missing", {virtualkb::PathText(folder / "no" / "such" / "kb.state"), ""}, "lock file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto backend = MakeHidBackend(c.request, &error);
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        EXPECT_TRUE(Paths(*backend).empty());
        EXPECT_EQ(backend->Open(L"\\\\?\\hid#vid_320f&pid_5000", {}), nullptr);
    }
}

TEST(HidBackendFactoryTest, WithoutAStateFileTheMachinesOwnInterfacesAreUsed) {
    std::string error = "stale";
    auto backend = MakeHidBackend({"", "126"}, &error);
    ASSERT_NE(backend, nullptr);
    EXPECT_EQ(error, "");
#ifndef _WIN32
    EXPECT_TRUE(Paths(*backend).empty()) << "no HID access off Windows";
#endif
}

}  // namespace
}  // namespace kw::device
