// The skinned dialog on real windows: size and outline from the pictures, controls where the
// layout file puts them, button faces per state, what ends the process, and malformed skins.
#include "tests/skin/support/SkinFixture.h"
#include "tests/skin/SkinTestResources.h"

#include "skin/Layout.h"

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace kw::skin::test {
namespace {

constexpr const wchar_t* kLayout =
    L"BUTTON_A=100,40,60,24\r\n"
    L"BUTTON_B=10,200,50,20,x\r\n"
    L"BUTTON_C=1,1,80,20\r\n"
    L"BUTTON_E=200,200,40,20\r\n"
    L"BUTTON_F=250,200,40,20\r\n"
    L"LABEL=5,6,70,20,x\r\n"
    L"LINK=20,120,10,10\r\n"
    L"SLIDER=20,150,101,16\r\n"
    L"COLOUR=150,150,60,20\r\n"
    L"LIST=20,60,70,50\r\n";

class SkinDialog : public ::testing::Test {
protected:
    void Open(const std::wstring& layout = kLayout) {
        WriteTestSkin(folder, layout);
        dialog = std::make_unique<TestDialog>(folder / L"Test.ini", folder.Path());
        ASSERT_TRUE(dialog->Create());
        Pump(*dialog, 50);
    }
    void TearDown() override {
        if (dialog) dialog->DestroyWindow();
        Pump(*dialog, 0);
    }
    HWND Hwnd() const { return dialog->GetSafeHwnd(); }
    RECT Rect(HWND child) const { return ChildRect(Hwnd(), child); }

    TempFolder folder;
    std::unique_ptr<TestDialog> dialog;
};

TEST_F(SkinDialog, TakesItsSizeFromTheBackgroundAndItsOutlineFromTheMask) {
    Open();
    RECT window{};
    ::GetWindowRect(Hwnd(), &window);
    EXPECT_EQ(window.right - window.left, kBackgroundWidth);
    EXPECT_EQ(window.bottom - window.top, kBackgroundHeight);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(Hwnd(), region), ERROR);
    EXPECT_FALSE(::PtInRegion(region, 0, 0));  // white corners are cut out
    EXPECT_FALSE(::PtInRegion(region, kBackgroundWidth - 1, kBackgroundHeight - 1));
    EXPECT_TRUE(::PtInRegion(region, 8, 0));
    EXPECT_TRUE(::PtInRegion(region, kBackgroundWidth / 2, kBackgroundHeight / 2));
    ::DeleteObject(region);
    EXPECT_TRUE(::IsWindowVisible(Hwnd()));
    EXPECT_EQ(PixelAt(Hwnd(), 50, 50), kBackgroundColour);  // the background is painted whole
}

TEST(SkinOutline, WithoutMaskKeyTheBackgroundShapesTheWindowAndOnlyExactWhiteIsCut) {
    TempFolder folder;
    WriteTestSkin(folder, L"");
    // Background: white left column, (255, 255, 254) second column, dark elsewhere.
    WriteBmp(folder / L"bg.bmp", 60, 40, [](int x, int) {
        return x == 0 ? RGB(255, 255, 255) : x == 1 ? RGB(255, 255, 254) : RGB(10, 10, 10);
    });
    WriteText(folder / L"Test.ini", L"[SCREEN]\r\nMain=bg.bmp\r\n");
    TestDialog dialog(folder / L"Test.ini", folder.Path());
    ASSERT_TRUE(dialog.Create());
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(dialog.GetSafeHwnd(), region), ERROR);
    EXPECT_FALSE(::PtInRegion(region, 0, 20));
    EXPECT_TRUE(::PtInRegion(region, 1, 20));
    EXPECT_TRUE(::PtInRegion(region, 59, 39));
    ::DeleteObject(region);
    dialog.DestroyWindow();
}

TEST_F(SkinDialog, ControlsLandWhereTheLayoutPutsThem) {
    Open();
    struct Case { int id; RECT rect; bool enabled; };
    const Case cases[] = {
        {IDC_BUTTON_A, {100, 40, 160, 64}, true},
        {IDC_BUTTON_B, {10, 200, 60, 220}, true},   // a fifth field is ignored
        {IDC_BUTTON_C, {1, 1, 81, 21}, false},      // a button placed at (1, 1) is switched off
        {IDC_BUTTON_D, {1, 1, 2, 2}, false},        // no key: 1 by 1 at (1, 1), switched off
        {IDC_LABEL, {5, 6, 75, 26}, true},
        {IDC_EDIT, {1, 1, 2, 2}, true},             // no key: a plain control stays enabled
        {IDC_LIST, {20, 60, 90, 110}, true},
    };
    for (const Case& c : cases) {
        HWND child = dialog->GetDlgItem(c.id);
        const RECT r = Rect(child);
        EXPECT_EQ(r.left, c.rect.left) << c.id;
        EXPECT_EQ(r.top, c.rect.top) << c.id;
        EXPECT_EQ(r.right, c.rect.right) << c.id;
        EXPECT_EQ(r.bottom, c.rect.bottom) << c.id;
        EXPECT_EQ(::IsWindowEnabled(child) != FALSE, c.enabled) << c.id;
    }
    // Moved, not sized: the link keeps the size it fitted to its text.
    const RECT link = Rect(dialog->link.GetSafeHwnd());
    EXPECT_EQ(link.left, 20);
    EXPECT_EQ(link.top, 120);
    EXPECT_GT(link.right - link.left, 10);
}

TEST_F(SkinDialog, ButtonShowsTheStatePicturesFromOnePixelUpAndLeftOfItsPlace) {
    WriteTestSkin(folder, kLayout);
    // A normal picture whose pixel (99, 39) is marked: the button at (100, 40) shows it at (0, 0).
    WriteBmp(folder / kTestStateImages[0], kBackgroundWidth, kBackgroundHeight, [](int x, int y) {
        return x == 99 && y == 39 ? RGB(255, 0, 255) : kStateColours[0];
    });
    dialog = std::make_unique<TestDialog>(folder / L"Test.ini", folder.Path());
    ASSERT_TRUE(dialog->Create());
    Pump(*dialog, 50);
    dialog->buttonA.Redraw();
    EXPECT_EQ(PixelAt(dialog->buttonA.GetSafeHwnd(), 0, 0), RGB(255, 0, 255));
    EXPECT_EQ(PixelAt(dialog->buttonA.GetSafeHwnd(), 1, 1), kStateColours[0]);
}

TEST_F(SkinDialog, ButtonPlacedFromOneKeyShowsOneSurfaceAtTheOffsetOfAnother) {
    WriteTestSkin(folder, kLayout);
    WriteBmp(folder / kTestStateImages[0], kBackgroundWidth, kBackgroundHeight, [](int x, int y) {
        return x == 99 && y == 39 ? RGB(255, 0, 255) : kStateColours[0];
    });
    WriteText(folder / L"Test.ini", L"[SCREEN]\r\nMain=bg.bmp\r\nMask=mask.bmp\r\n[BUTTONINFO]\r\n" +
                                        std::wstring(kLayout) + L"[BUTTONINFO2]\r\nUP_ARROW_LEFT1=100,40,1,1\r\n");
    dialog = std::make_unique<TestDialog>(folder / L"Test.ini", folder.Path());
    ASSERT_TRUE(dialog->Create());
    CPngButton& b = dialog->buttonE;
    PlaceSkinButtonFrom(b, dialog->IniPath(), L"BUTTONINFO", L"BUTTON_E", L"BUTTONINFO2", L"UP_ARROW_LEFT1",
                        dialog->Surfaces().At(0));
    const RECT r = Rect(b.GetSafeHwnd());
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.top, 200);
    EXPECT_EQ(PixelAt(b.GetSafeHwnd(), 0, 0), RGB(255, 0, 255));
    ::SendMessageW(b.GetSafeHwnd(), WM_MOUSEHOVER, 0, 0);  // every state shows the same surface
    ::UpdateWindow(b.GetSafeHwnd());
    EXPECT_EQ(b.LastSurface(), dialog->Surfaces().At(0));
    EXPECT_EQ(PixelAt(b.GetSafeHwnd(), 0, 0), RGB(255, 0, 255));
}

TEST_F(SkinDialog, ButtonChangesFaceOnHoverPressDisableAndSelect) {
    Open();
    CPngButton& b = dialog->buttonA;
    HWND h = b.GetSafeHwnd();
    const auto surfaceOf = [&](size_t i) { return dialog->Surfaces().At(i); };
    const auto shows = [&](size_t state) {
        EXPECT_EQ(b.LastSurface(), surfaceOf(state));
        EXPECT_EQ(PixelAt(h, 5, 5), kStateColours[state]);
    };
    b.Redraw();
    shows(0);

    ::SendMessageW(h, WM_MOUSEHOVER, 0, MAKELPARAM(5, 5));
    ::UpdateWindow(h);
    EXPECT_TRUE(b.IsHovering());
    shows(1);

    ::SendMessageW(h, BM_SETSTATE, TRUE, 0);  // pressed: the owner draw reports it selected
    ::UpdateWindow(h);
    shows(2);
    ::SendMessageW(h, BM_SETSTATE, FALSE, 0);
    ::SendMessageW(h, WM_MOUSELEAVE, 0, 0);
    ::UpdateWindow(h);
    shows(0);

    b.SetSelected(true, true);
    shows(4);
    ::SendMessageW(h, WM_MOUSEHOVER, 0, 0);  // hover wins over selected
    ::UpdateWindow(h);
    shows(1);

    ::EnableWindow(h, FALSE);  // disabled wins over everything
    ::UpdateWindow(h);
    shows(3);
    b.SetSelected(false, true);
    ::EnableWindow(h, TRUE);
    ::SendMessageW(h, WM_MOUSELEAVE, 0, 0);
    ::UpdateWindow(h);
    shows(0);
}

TEST_F(SkinDialog, AlternateModeIgnoresHoverAndPress) {
    Open();
    CPngButton& b = dialog->buttonA;
    const fw::CMemoryDC* a = dialog->Surfaces().At(3);
    const fw::CMemoryDC* bSurface = dialog->Surfaces().At(4);
    b.SetAlternateImages(a, bSurface, true, false, true);
    EXPECT_EQ(b.LastSurface(), a);
    ::SendMessageW(b.GetSafeHwnd(), WM_MOUSEHOVER, 0, 0);
    ::SendMessageW(b.GetSafeHwnd(), BM_SETSTATE, TRUE, 0);
    ::UpdateWindow(b.GetSafeHwnd());
    EXPECT_EQ(b.LastSurface(), a);
    b.SetAlternateImages(a, bSurface, true, true, true);
    EXPECT_EQ(b.LastSurface(), bSurface);
    EXPECT_EQ(PixelAt(b.GetSafeHwnd(), 5, 5), kStateColours[4]);
}

TEST_F(SkinDialog, OutlineModeDrawsAFrameAndPaintCallbackTellsTheFace) {
    Open();
    static int calls = 0;
    static bool lastNormal = false;
    calls = 0;
    CPngButton& b = dialog->buttonA;
    b.SetPaintCallback([](HWND, bool normal) {
        ++calls;
        lastNormal = normal;
    });
    b.SetOutline(RGB(0, 255, 255), true);
    EXPECT_EQ(PixelAt(b.GetSafeHwnd(), 1, 10), RGB(0, 255, 255));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(lastNormal);
    b.SetOutline(0, false);
    EXPECT_EQ(PixelAt(b.GetSafeHwnd(), 1, 10), kStateColours[0]);
    b.SetSelected(true, true);
    EXPECT_FALSE(lastNormal);
}

TEST_F(SkinDialog, CaptionIsDrawnInTheColourOfTheFace) {
    Open();
    CPngButton& b = dialog->buttonA;
    b.SetTextStyle(true, 10, L"Arial", {0xFFFFFF, 0x0082FF, 0x049BFF, 0x7F7F7F, 0xFFFFFF}, 37);
    b.Redraw();
    EXPECT_EQ(b.LastTextColour(), 0xFFFFFFu);
    ::SendMessageW(b.GetSafeHwnd(), WM_MOUSEHOVER, 0, 0);
    ::UpdateWindow(b.GetSafeHwnd());
    EXPECT_EQ(b.LastTextColour(), 0x0082FFu);
    // Some of the caption's pixels are in the text colour.
    int hits = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 60; ++x) hits += PixelAt(b.GetSafeHwnd(), x, y) == 0x0082FF ? 1 : 0;
    EXPECT_GT(hits, 5);
}

TEST_F(SkinDialog, DoubleClickGivesTwoClicks) {
    Open();
    HWND h = dialog->buttonA.GetSafeHwnd();
    dialog->commands.clear();
    const LPARAM at = MAKELPARAM(5, 5);
    ::PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(h, WM_LBUTTONUP, 0, at);
    ::PostMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    ::PostMessageW(h, WM_LBUTTONUP, 0, at);
    Pump(*dialog, 50);
    int clicks = 0;
    for (const auto& [id, code] : dialog->commands) clicks += id == IDC_BUTTON_A && code == BN_CLICKED ? 1 : 0;
    EXPECT_EQ(clicks, 2);
}

TEST_F(SkinDialog, TooltipIsRebuiltOnEveryHover) {
    Open();
    CPngButton& b = dialog->buttonA;
    b.SetTooltip(L"", true);
    EXPECT_FALSE(b.Tooltip());  // an empty text makes no tooltip
    b.SetTooltip(L"Apply the changes", true);
    ASSERT_TRUE(b.Tooltip());
    ::SendMessageW(b.GetSafeHwnd(), WM_MOUSEHOVER, 0, 0);
    const HWND first = b.Tooltip().GetSafeHwnd();
    EXPECT_EQ(b.Tooltip().GetText(b.GetSafeHwnd(), 1), L"Apply the changes");
    EXPECT_EQ(b.Tooltip().GetInitialDelay(), 300u);
    ::SendMessageW(b.GetSafeHwnd(), WM_MOUSELEAVE, 0, 0);
    ::SendMessageW(b.GetSafeHwnd(), WM_MOUSEHOVER, 0, 0);
    EXPECT_NE(b.Tooltip().GetSafeHwnd(), first);
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_EQ(b.Tooltip().GetText(b.GetSafeHwnd(), 1), L"Apply the changes");
}

TEST_F(SkinDialog, PressOnTheBackgroundDragsTheWindowButNotOnAControl) {
    Open();
    ::SendMessageW(Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 10));
    EXPECT_EQ(dialog->backgroundPresses, 1);
    ::PostMessageW(dialog->buttonA.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ::PostMessageW(dialog->buttonA.GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    Pump(*dialog, 20);
    EXPECT_EQ(dialog->backgroundPresses, 1);
}

TEST_F(SkinDialog, ReopeningReloadsTheBackgroundButRendersStatePicturesOnce) {
    Open();
    const fw::CMemoryDC* surface = dialog->Surfaces().At(0);
    const HDC surfaceDc = surface->GetSafeHdc();
    ASSERT_NE(dialog->Background(), nullptr);
    dialog->OnCancel();
    EXPECT_EQ(dialog->Background(), nullptr);
    EXPECT_EQ(dialog->Mask(), nullptr);
    // The state pictures are gone from the folder: a second rendering would make blank faces.
    for (const wchar_t* file : kTestStateImages) ::DeleteFileW((folder / file).c_str());
    ASSERT_TRUE(dialog->Create());
    Pump(*dialog, 20);
    EXPECT_NE(dialog->Background(), nullptr);
    EXPECT_EQ(dialog->Surfaces().At(0)->GetSafeHdc(), surfaceDc);
    dialog->buttonA.Redraw();
    EXPECT_EQ(PixelAt(dialog->buttonA.GetSafeHwnd(), 5, 5), kStateColours[0]);
}

// ---- missing and damaged pictures ---------------------------------------------------------

TEST(SkinPictures, MissingStatePictureLeavesBlankFacesAndTheDialogOpens) {
    TempFolder folder;
    WriteTestSkin(folder, kLayout);
    ::DeleteFileW((folder / kTestStateImages[0]).c_str());
    TestDialog dialog(folder / L"Test.ini", folder.Path());
    ASSERT_TRUE(dialog.Create());
    Pump(dialog, 20);
    dialog.buttonA.Redraw();
    EXPECT_EQ(PixelAt(dialog.buttonA.GetSafeHwnd(), 5, 5), RGB(0, 0, 0));
    ::SendMessageW(dialog.buttonA.GetSafeHwnd(), WM_MOUSEHOVER, 0, 0);
    ::UpdateWindow(dialog.buttonA.GetSafeHwnd());
    EXPECT_EQ(PixelAt(dialog.buttonA.GetSafeHwnd(), 5, 5), kStateColours[1]);
    dialog.DestroyWindow();
}

TEST(IniFile, ReadsWithDefaultsAndLimitsAndWrites) {
    TempFolder folder;
    const std::wstring path = folder / L"Layout.ini";
    WriteText(path, L"[SCREEN]\r\nMain=bg.jpg\r\nEmpty=\r\nLong=" + std::wstring(3000, L'7') + L"\r\n");
    CIniFile ini;
    ini.SetPath(path);
    struct Case { const wchar_t* section; const wchar_t* key; const wchar_t* fallback; std::wstring expected; };
    const Case cases[] = {
        {L"SCREEN", L"Main", L"", L"bg.jpg"},
        {L"screen", L"MAIN", L"", L"bg.jpg"},  // names are not case-sensitive
        {L"SCREEN", L"Mask", L"bg.jpg", L"bg.jpg"},
        {L"SCREEN", L"Empty", L"unused", L""},
        {L"NOWHERE", L"Main", L"", L""},
        {L"SCREEN", L"Long", L"", std::wstring(CIniFile::kValueBufferLength - 1, L'7')},
    };
    for (const Case& c : cases) EXPECT_EQ(ini.ReadString(c.section, c.key, c.fallback), c.expected) << c.key;
    EXPECT_TRUE(ini.WriteString(L"SCREEN", L"Link", L"https://example.com"));
    EXPECT_EQ(ini.ReadString(L"SCREEN", L"Link", L""), L"https://example.com");

    CIniFile missing;
    missing.SetPath(folder / L"absent.ini");  // a file that does not exist reads as empty
    EXPECT_EQ(missing.ReadString(L"SCREEN", L"Main", L""), L"");
    EXPECT_EQ(ReadPlacement(folder / L"absent.ini", L"BUTTONINFO", L"CONTROL_OK"), (Placement{1, 1, 1, 1}));
    missing.SetPath(std::wstring(400, L'a'));
    EXPECT_EQ(missing.Path().size(), CIniFile::kPathLength - 1);
}

// The program ships JPG pictures: the OLE loader (backgrounds) and GDI+ (state pictures) both read them.
TEST(SkinPictures, JpegPicturesLoadThroughBothDecoders) {
    TempFolder folder;
    namespace gp = Gdiplus::DllExports;
    Gdiplus::GpBitmap* bitmap = nullptr;
    ASSERT_EQ(gp::GdipCreateBitmapFromScan0(40, 30, 0, PixelFormat24bppRGB, nullptr, &bitmap), Gdiplus::Ok);
    Gdiplus::GpGraphics* graphics = nullptr;
    gp::GdipGetImageGraphicsContext(bitmap, &graphics);
    gp::GdipGraphicsClear(graphics, 0xFF3060C0);
    gp::GdipDeleteGraphics(graphics);
    const CLSID jpeg = {0x557CF401, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    const std::wstring path = folder / L"picture.jpg";
    ASSERT_EQ(gp::GdipSaveImageToFile(bitmap, path.c_str(), &jpeg, nullptr), Gdiplus::Ok);
    gp::GdipDisposeImage(bitmap);

    const SkinPicture picture = SkinPicture::Load(path);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture.Size().cx, 40);
    EXPECT_EQ(picture.Size().cy, 30);
    EXPECT_TRUE(LoadSkinBitmap(path).HasPixels());
    // Also on a thread where nobody started COM.
    bool loadedElsewhere = false;
    std::thread([&] { loadedElsewhere = static_cast<bool>(SkinPicture::Load(path)); }).join();
    EXPECT_TRUE(loadedElsewhere);
    EXPECT_FALSE(SkinPicture::Load(folder / L"absent.jpg"));
    EXPECT_FALSE(LoadSkinBitmap(folder / L"absent.jpg").HasPixels());
}

struct FatalSkin {
    const char* name;
    std::function<void(const TempFolder&)> damage;
};

class MissingSkinPicture : public ::testing::TestWithParam<FatalSkin> {};

TEST_P(MissingSkinPicture, EndsTheProcessWithCodeZero) {
    TempFolder folder;
    WriteTestSkin(folder, kLayout);
    GetParam().damage(folder);
    EXPECT_EXIT(
        {
            TestDialog dialog(folder / L"Test.ini", folder.Path());
            dialog.Create();
            ::ExitProcess(7);  // the skin loaded after all
        },
        ::testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(Skins, MissingSkinPicture, ::testing::Values(
    FatalSkin{"missing_background", [](const TempFolder& f) { ::DeleteFileW((f / L"bg.bmp").c_str()); }},
    FatalSkin{"missing_mask", [](const TempFolder& f) { ::DeleteFileW((f / L"mask.bmp").c_str()); }},
    FatalSkin{"empty_background", [](const TempFolder& f) { WriteBytes(f / L"bg.bmp", ""); }},
    FatalSkin{"garbage_mask", [](const TempFolder& f) { WriteBytes(f / L"mask.bmp", std::string(4096, '\x5A')); }},
    FatalSkin{"truncated_background", [](const TempFolder& f) { WriteBytes(f / L"bg.bmp", std::string("BM\x36\x10\0\0\0\0\0\0\x36\0\0\0", 14)); }},
    FatalSkin{"no_layout_file", [](const TempFolder& f) { ::DeleteFileW((f / L"Test.ini").c_str()); }},
    FatalSkin{"background_is_a_folder", [](const TempFolder& f) {
        WriteText(f / L"Test.ini", L"[SCREEN]\r\nMain=.\r\n");
    }}),
    [](const ::testing::TestParamInfo<FatalSkin>& info) { return std::string(info.param.name); });

// ---- malformed skins ---------------------------------------------------------------------------

struct MalformedSkin {
    const char* name;
    std::wstring buttonInfo;
    std::function<void(const TempFolder&)> damage;
};

class Malformed : public ::testing::TestWithParam<MalformedSkin> {};

std::string BmpHeader(int width, int height) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + 16;
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    bytes.append(16, '\x7F');  // far fewer pixels than the header promises
    return bytes;
}

TEST_P(Malformed, NeverCrashesAndNeverReachesOutsideTheWindow) {
    TempFolder folder;
    WriteTestSkin(folder, GetParam().buttonInfo);
    if (GetParam().damage) GetParam().damage(folder);
    TestDialog dialog(folder / L"Test.ini", folder.Path());
    ASSERT_TRUE(dialog.Create());
    const HWND hwnd = dialog.GetSafeHwnd();
    RECT window{};
    ::GetWindowRect(hwnd, &window);
    EXPECT_EQ(window.right - window.left, kBackgroundWidth);
    EXPECT_EQ(window.bottom - window.top, kBackgroundHeight);

    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetWindowRgn(hwnd, region) != ERROR) {
        RECT box{};
        ::GetRgnBox(region, &box);
        EXPECT_GE(box.left, 0);
        EXPECT_GE(box.top, 0);
        EXPECT_LE(box.right, kBackgroundWidth);
        EXPECT_LE(box.bottom, kBackgroundHeight);
    }
    ::DeleteObject(region);

    for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const RECT r = ChildRect(hwnd, child);
        EXPECT_GE(r.right - r.left, 0);
        EXPECT_GE(r.bottom - r.top, 0);
        EXPECT_LE(r.right - r.left, kPlacementLimit);
        EXPECT_GE(r.left, -kPlacementLimit);
        EXPECT_LE(r.left, kPlacementLimit);
        EXPECT_GE(r.top, -kPlacementLimit);
        EXPECT_LE(r.top, kPlacementLimit);
    }
    // Paint everything in every state.
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (CPngButton* b : {&dialog.buttonA, &dialog.buttonB, &dialog.buttonC}) {
        ::SendMessageW(b->GetSafeHwnd(), WM_MOUSEHOVER, 0, 0);
        ::SendMessageW(b->GetSafeHwnd(), BM_SETSTATE, TRUE, 0);
        b->SetSelected(true, true);
        b->SetTextStyle(true, 9, L"Arial", {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}, 37);
        b->SetTextAngle(900, true);
        b->Redraw();
    }
    Pump(dialog, 20);
    dialog.DestroyWindow();
}

INSTANTIATE_TEST_SUITE_P(Skins, Malformed, ::testing::Values(
    MalformedSkin{"no_button_section", L"", nullptr},
    MalformedSkin{"negative", L"BUTTON_A=-50,-60,-70,-80\r\nLIST=-10,-10,500,500\r\nSLIDER=-5,-5,-5,-5\r\n", nullptr},
    MalformedSkin{"huge", L"BUTTON_A=99999999999,99999999999,99999999999,99999999999\r\n"
                          L"LABEL=2147483647,2147483647,2147483647,2147483647\r\n"
                          L"BUTTON_B=-2147483648,5,3000000000,20\r\n", nullptr},
    MalformedSkin{"not_numbers", L"BUTTON_A=abc\r\nLABEL=,,,,\r\nLIST=1e9,2,3,4\r\nBUTTON_B=0x20,0x20,0x20,0x20\r\n", nullptr},
    MalformedSkin{"over_long", L"BUTTON_A=5,5,40,20," + std::wstring(5000, L'x') + L"\r\nLABEL=" +
                               std::wstring(3000, L'9') + L"\r\n", nullptr},
    MalformedSkin{"mask_larger_than_background", L"BUTTON_A=5,5,40,20\r\n", [](const TempFolder& f) {
        WriteBmp(f / L"mask.bmp", 600, 500, [](int x, int) { return x % 3 ? RGB(0, 0, 0) : RGB(255, 255, 255); });
    }},
    MalformedSkin{"all_white_mask", L"BUTTON_A=5,5,40,20\r\n", [](const TempFolder& f) {
        WriteBmp(f / L"mask.bmp", 40, 40, [](int, int) { return RGB(255, 255, 255); });
    }},
    MalformedSkin{"zero_sized_state_pictures", L"BUTTON_A=5,5,40,20\r\n", [](const TempFolder& f) {
        for (const wchar_t* file : kTestStateImages) WriteBytes(f / file, "");
    }},
    MalformedSkin{"garbage_state_pictures", L"BUTTON_A=5,5,40,20\r\n", [](const TempFolder& f) {
        for (const wchar_t* file : kTestStateImages) WriteBytes(f / file, std::string(1000, '\xC3'));
    }},
    MalformedSkin{"state_pictures_promising_more_than_they_hold", L"BUTTON_A=200,200,100,30\r\n", [](const TempFolder& f) {
        WriteBytes(f / kTestStateImages[0], BmpHeader(50000, 50000));
        WriteBytes(f / kTestStateImages[1], BmpHeader(-3, 7));
        WriteBytes(f / kTestStateImages[2], BmpHeader(0, 0));
    }},
    MalformedSkin{"tiny_state_pictures", L"BUTTON_A=300,230,60,24\r\n", [](const TempFolder& f) {
        for (const wchar_t* file : kTestStateImages) WriteBmp(f / file, 1, 1, [](int, int) { return RGB(1, 2, 3); });
    }}),
    [](const ::testing::TestParamInfo<MalformedSkin>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kw::skin::test
