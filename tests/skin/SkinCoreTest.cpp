// The toolkit's arithmetic: layout values, mask outlines, slider positions, caption centring,
// colour button parts, report-list filters and the hyperlink's address check.
#include "skin/ColorButtonGeometry.h"
#include "skin/HyperlinkText.h"
#include "skin/MaskScan.h"
#include "skin/Placement.h"
#include "skin/ReportFilter.h"
#include "skin/RotatedText.h"
#include "skin/SliderMath.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kw::skin {
namespace {

// ---- layout values ------------------------------------------------------------------------------

struct PlacementCase {
    const wchar_t* value;
    Placement expected;
};

class PlacementParse : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementParse, ReadsLikeFourCommaSeparatedNumbers) {
    EXPECT_EQ(ParsePlacement(GetParam().value), GetParam().expected) << std::wstring(GetParam().value).size();
}

INSTANTIATE_TEST_SUITE_P(Values, PlacementParse, ::testing::Values(
    PlacementCase{L"10,20,30,40", {10, 20, 30, 40}},
    PlacementCase{L"5,6,70,20,x", {5, 6, 70, 20}},                 // a fifth field is ignored
    PlacementCase{L"1,1,1,1,x", {1, 1, 1, 1}},                     // the default itself
    PlacementCase{L" 5, 6, 7, 8", {5, 6, 7, 8}},                   // blanks before a number
    PlacementCase{L"5 ,6,7,8", {5, 1, 1, 1}},                      // a comma must follow at once
    PlacementCase{L"", {1, 1, 1, 1}},
    PlacementCase{L"abc", {1, 1, 1, 1}},
    PlacementCase{L"12,abc,3,4", {12, 1, 1, 1}},                   // reading stops at the bad number
    PlacementCase{L"7,8", {7, 8, 1, 1}},
    PlacementCase{L"+3,-4,5,6", {3, -4, 5, 6}},
    PlacementCase{L"-50,-60,-70,-80", {-50, -60, 0, 0}},           // no negative sizes
    PlacementCase{L"99999999999999999999,2,99999999999,4", {32767, 2, 32767, 4}},
    PlacementCase{L"-99999999999999999999,-99999,3,4", {-32767, -32767, 3, 4}},
    PlacementCase{L"0x10,2,3,4", {0, 1, 1, 1}}));                  // decimal only: "x10" stops it

TEST(Placement, OverLongValueIsReadUpToItsFourthNumber) {
    const std::wstring value = L"3,4,5,6," + std::wstring(5000, L'9');
    EXPECT_EQ(ParsePlacement(value), (Placement{3, 4, 5, 6}));
    EXPECT_EQ(ParsePlacement(std::wstring(5000, L'7')), (Placement{32767, 1, 1, 1}));
}

TEST(Placement, OnlyTheDefaultCornerDisablesAButton) {
    EXPECT_TRUE(DisablesButton({1, 1, 1, 1}));
    EXPECT_TRUE(DisablesButton({1, 1, 90, 30}));  // deliberately placed there with any size
    EXPECT_FALSE(DisablesButton({1, 2, 1, 1}));
    EXPECT_FALSE(DisablesButton({0, 1, 1, 1}));
}

// ---- mask outlines ------------------------------------------------------------------------------

constexpr uint32_t W = 0x00FFFFFF;  // pure white in DIB order
constexpr uint32_t K = 0x00000000;

std::vector<SkinRect> Runs(const std::vector<uint32_t>& pixels, int width, int height, size_t batch = 2000,
                           std::vector<size_t>* batchSizes = nullptr) {
    std::vector<SkinRect> all;
    ScanOpaqueRuns(pixels, width, height, static_cast<size_t>(width), MakeTransparentRange(0xFFFFFF, 0), batch,
                   [&](std::span<const SkinRect> rects) {
                       all.insert(all.end(), rects.begin(), rects.end());
                       if (batchSizes) batchSizes->push_back(rects.size());
                   });
    return all;
}

TEST(MaskScan, EachRunOfNonWhitePixelsBecomesOneRowRectangle) {
    const std::vector<uint32_t> pixels = {
        W, K, K, W, K,
        K, K, K, K, K,
        W, W, W, W, W,
    };
    const std::vector<SkinRect> expected = {{1, 0, 3, 1}, {4, 0, 5, 1}, {0, 1, 5, 2}};
    EXPECT_EQ(Runs(pixels, 5, 3), expected);
}

TEST(MaskScan, OnlyExactWhiteIsTransparentWithZeroTolerance) {
    // (255, 255, 254) and its neighbours in each channel stay part of the window.
    const std::vector<uint32_t> pixels = {0x00FFFFFE, 0x00FFFEFF, 0x00FEFFFF, W};
    const std::vector<SkinRect> expected = {{0, 0, 3, 1}};
    EXPECT_EQ(Runs(pixels, 4, 1), expected);
}

TEST(MaskScan, ToleranceWidensTheTransparentRangeAndCapsAt255) {
    const TransparentRange range = MakeTransparentRange(0x00F0F0F0, 0x00202020);
    EXPECT_EQ(range.red.low, 0xF0);
    EXPECT_EQ(range.red.high, 0xFF);
    const TransparentRange black = MakeTransparentRange(0x00000000, 0x00030201);  // R=0..1, G=0..2, B=0..3
    EXPECT_EQ(black.red.high, 1);
    EXPECT_EQ(black.green.high, 2);
    EXPECT_EQ(black.blue.high, 3);
}

TEST(MaskScan, AllWhiteGivesNoRectangleAndNoFlush) {
    std::vector<size_t> batches;
    EXPECT_TRUE(Runs(std::vector<uint32_t>(12, W), 4, 3, 2000, &batches).empty());
    EXPECT_TRUE(batches.empty());
}

TEST(MaskScan, FlushesFullBatchesThenTheRest) {
    // A checkerboard row of width 9 has 5 runs; 7 rows give 35 rectangles.
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) pixels.push_back(x % 2 == 0 ? K : W);
    std::vector<size_t> batches;
    EXPECT_EQ(Runs(pixels, 9, 7, 10, &batches).size(), 35u);
    EXPECT_EQ(batches, (std::vector<size_t>{10, 10, 10, 5}));
}

TEST(MaskScan, NeverReadsBeyondAShortBuffer) {
    // The caller claims 4 rows but hands over 2 and a half: only the whole rows are scanned.
    const std::vector<uint32_t> pixels(10, K);
    EXPECT_EQ(Runs(pixels, 4, 4).size(), 2u);
    EXPECT_TRUE(Runs(pixels, 0, 4).empty());
    EXPECT_TRUE(Runs(pixels, -3, 4).empty());
}

TEST(MaskScan, BoundingBoxCoversAllRectangles) {
    const std::vector<SkinRect> rects = {{3, 0, 5, 1}, {0, 4, 2, 5}, {1, 2, 9, 3}};
    EXPECT_EQ(BoundingBox(rects), (SkinRect{0, 0, 9, 5}));
    EXPECT_EQ(BoundingBox({}), SkinRect{});
}

// ---- slider ---------------------------------------------------------------------------------------

TEST(Slider, PointsMapToTheNearestPositionAndEndsClamp) {
    // Width 61, margin 5: the channel spans pixels 5 .. 55 (50 pixels) for positions 0 .. 5.
    const SliderRange range{0, 5};
    struct Case { int x; int position; };
    const Case cases[] = {{-100, 0}, {0, 0}, {5, 0}, {14, 1}, {15, 1}, {30, 3}, {54, 5}, {55, 5}, {500, 5}};
    for (const Case& c : cases) EXPECT_EQ(PositionFromPoint(c.x, 61, 5, range), c.position) << c.x;
    for (int p = 0; p <= 5; ++p) EXPECT_EQ(PositionFromPoint(PointFromPosition(p, 61, 5, range), 61, 5, range), p);
}

TEST(Slider, DegenerateChannelsAndReversedRangesStayInRange) {
    EXPECT_EQ(PositionFromPoint(10, 0, 0, {0, 5}), 0);
    EXPECT_EQ(PositionFromPoint(10, 8, 10, {2, 5}), 2);  // margins wider than the control
    EXPECT_EQ(PositionFromPoint(1000, 100, 0, {10, -10}), 10);
    EXPECT_EQ(ClampPosition(99, {5, 0}), 5);
    EXPECT_EQ(PositionFromPoint(50, 101, 0, {-2147483647 - 1, 2147483647}), 0);  // no overflow
}

TEST(Slider, KeysStepAndStopAtTheEnds) {
    const SliderRange range{0, 5};
    struct Case { SliderKey key; int from; int to; };
    const Case cases[] = {
        {SliderKey::Right, 5, 5}, {SliderKey::Down, 2, 3}, {SliderKey::Left, 0, 0}, {SliderKey::Up, 3, 2},
        {SliderKey::PageDown, 1, 5}, {SliderKey::PageUp, 4, 0},  // page size 10 on a range of 6
        {SliderKey::Home, 4, 0}, {SliderKey::End, 1, 5},
    };
    for (const Case& c : cases) EXPECT_EQ(PositionAfterKey(c.key, c.from, 10, range), c.to) << static_cast<int>(c.key);
    EXPECT_EQ(PositionAfterKey(SliderKey::PageDown, 10, 25, {0, 100}), 35);
}

// ---- rotated captions ---------------------------------------------------------------------------

TEST(RotatedText, UnrotatedCaptionIsCentredHorizontally) {
    // 0 degrees: H = cx, V = 0. Left moves by (W - H) / 2; bottom moves up by T / 2 and down by cy / 2.
    const SkinRect r = CentreRotatedText({0, 0, 100, 40}, 0, 60, 12);
    EXPECT_EQ(r, (SkinRect{20, 0, 100, 26}));
}

TEST(RotatedText, VerticalCaptionIsCentredBothWays) {
    // 90 degrees: H = 0, V = cx; left = (W - 0) / 2 - trunc(cy / 2 * sin), bottom = bottom - (T - V) / 2.
    // With pi taken as 3.1415927 the sine is a hair below 1, so the half height truncates to 4.
    const SkinRect r = CentreRotatedText({0, 0, 30, 100}, 900, 40, 10);
    EXPECT_EQ(r.left, 15 - 4);
    EXPECT_EQ(r.bottom, 100 - 30);
}

TEST(RotatedText, CaptionWiderThanTheButtonKeepsItsEdges) {
    const SkinRect r = CentreRotatedText({4, 5, 50, 20}, 0, 200, 12);
    EXPECT_EQ(r.left, 4);
}

// ---- colour button ------------------------------------------------------------------------------

TEST(ColorButton, FaceIsSplitIntoSwatchAndArrow) {
    const ColorButtonFace face = LayOutColorButton({0, 0, 60, 20});
    EXPECT_EQ(face.swatch, (SkinRect{-1, -1, 35, 21}));   // right = 61 / 2 + 5
    EXPECT_EQ(face.dropDown, (SkinRect{32, -2, 61, 22}));  // left = 61 / 2 + (-1) + 3
    EXPECT_EQ(face.triangle[0], (SkinPoint{50, 9}));
    EXPECT_EQ(face.triangle[1], (SkinPoint{56, 9}));
    EXPECT_EQ(face.triangle[2], (SkinPoint{53, 12}));
    EXPECT_EQ(face.focus, (SkinRect{-3, -3, 63, 23}));
}

// ---- report list ------------------------------------------------------------------------------

TEST(ReportFilter, FiltersCombineAsConditions) {
    struct Case { RowState row; unsigned filter; bool matches; };
    const Case cases[] = {
        {{false, false, false}, kRowAll, true},
        {{true, true, true}, kRowAll | kRowUnselected, true},  // "all" wins
        {{false, false, false}, 0, false},
        {{false, false, false}, kRowChecked, false},          // no checked row
        {{false, true, false}, kRowChecked, true},
        {{true, false, false}, kRowSelected | kRowUnchecked, true},
        {{true, true, false}, kRowSelected | kRowUnchecked, false},
        {{true, false, true}, kRowSelected | kRowUnselected, false},
        {{false, false, true}, kRowFocused, true},
        {{false, false, true}, kRowUnfocused, false},
    };
    for (const Case& c : cases) EXPECT_EQ(RowMatches(c.row, c.filter), c.matches) << c.filter;
}

TEST(ReportFilter, MoveTargetsClampIntoTheList) {
    struct Case { int target; int count; int lands; };
    const Case cases[] = {{1000, 5, 4}, {-5, 5, 0}, {-1, 5, 0}, {0x7FFFFFFF, 5, 4}, {2, 5, 2}, {3, 0, 0}};
    for (const Case& c : cases) EXPECT_EQ(ClampMoveTarget(c.target, c.count), c.lands) << c.target;
}

// ---- hyperlink --------------------------------------------------------------------------------

TEST(Hyperlink, OnlyWebAddressesAreOpened) {
    struct Case { const wchar_t* address; bool opens; };
    const Case cases[] = {
        {L"http://example.com", true},
        {L"https://example.com/path?q=1#top", true},
        {L"  HTTPS://Example.com  ", true},
        {L"http://", false},
        {L"https:///etc", false},
        {L"file:///C:/Windows/system32/calc.exe", false},
        {L"C:\\Windows\\system32\\calc.exe", false},
        {L"calc.exe http://example.com", false},
        {L"javascript:alert(1)", false},
        {L"mailto:someone@example.com", false},
        {L"http://example.com\" & calc", false},  // quotes could break out of a command line
        {L"http://exa mple.com", false},
        {L"http://example.com\n/x", false},
        {L"http://example.com\\..\\x", false},
        {L"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsWebAddress(c.address), c.opens) << std::wstring(c.address).size();
}

TEST(Hyperlink, FailureTextsFollowTheShellCodes) {
    EXPECT_EQ(HyperlinkFailureText(26), L"Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(HyperlinkFailureText(0), L"Unable to open hyperlink:\n\nThe operating system is out\nof memory or resources.");
    EXPECT_EQ(HyperlinkFailureText(31),
              L"Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename extension.");
    EXPECT_EQ(HyperlinkFailureText(7), L"Unable to open hyperlink:\n\nUnknown Error (7) occurred.");
    EXPECT_EQ(HyperlinkFailureText(-3), L"Unable to open hyperlink:\n\nUnknown Error (-3) occurred.");
}

}  // namespace
}  // namespace kw::skin
