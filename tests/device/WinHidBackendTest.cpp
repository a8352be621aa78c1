#include "device/HidDevice.h"
#include "device/WinHidBackend.h"

#include <gtest/gtest.h>

namespace kw::device {
namespace {

// No keyboard is attached here; whatever HID interfaces the system has, listing and opening them
// must behave and never hand out an empty path.
TEST(WinHidBackendTest, EnumerationSucceedsAndEveryPathIsReal) {
    WinHidBackend backend;
    HidDevice dev(backend);
    ASSERT_TRUE(dev.Enumerate());
    size_t seen = 0;
    while (const wchar_t* path = dev.NextPath()) {
        EXPECT_NE(path[0], L'\0');
        ++seen;
    }
    EXPECT_EQ(seen, dev.PathCount());
    dev.FreePathList();
    EXPECT_EQ(dev.NextPath(), nullptr);
}

TEST(WinHidBackendTest, OpeningWhatIsNotAHidInterfaceFailsAndLeavesTheDeviceClosed) {
    WinHidBackend backend;
    HidDevice dev(backend);
    EXPECT_FALSE(dev.Open(L"\\\\?\\hid#vid_320f&pid_5000#missing", true, true, true, false));
    EXPECT_FALSE(dev.IsOpen());
    EXPECT_FALSE(dev.Open(L"\\\\?\\hid#" + std::wstring(400, L'x'), true, true, true, false));
    uint8_t buf[64] = {};
    size_t got = 5;
    EXPECT_EQ(dev.ReadReport(buf, sizeof buf, &got, 10), 0);
    EXPECT_EQ(got, 0u);
}

}  // namespace
}  // namespace kw::device
