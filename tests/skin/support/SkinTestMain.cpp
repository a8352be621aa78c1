// The skin tests run on real windows: GDI+, the common controls and COM are started as the
// program starts them.
#include "skin/GdiplusSession.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Death tests start this program again; that is the only way to watch the process end.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::OleInitialize(nullptr);
    int result = 0;
    {
        kw::skin::GdiplusSession gdiplus;
        result = RUN_ALL_TESTS();
    }
    ::OleUninitialize();
    return result;
}
