#pragma once
// Which button-state pictures each skinned dialog renders into its surfaces, and which surface
// each button state usually takes. The surfaces of a dialog are numbered in file order.
#include <array>
#include <cstddef>
#include <span>

namespace kw::skin {

// Indexes into a dialog's surfaces for the five button states.
struct StateAssignment {
    size_t normal;
    size_t hover;
    size_t pressed;
    size_t disabled;
    size_t selected;
};

// The main window renders its four state pictures twice: the second set is the flip picture's.
inline constexpr std::array<const wchar_t*, 11> kMainStateImages = {
    L"main_normal.jpg", L"main_over.jpg", L"main_down.jpg", L"main_disable.jpg",
    L"main_normal.jpg", L"main_over.jpg", L"main_down.jpg", L"main_disable.jpg",
    L"Arrow.jpg",
    L"main_color0.jpg",
    L"main_color1.jpg",
};
inline constexpr StateAssignment kMainFirstSet{0, 1, 2, 0, 3};
inline constexpr StateAssignment kMainSecondSet{4, 5, 6, 4, 7};
inline constexpr size_t kMainArrowSurface = 8;
inline constexpr size_t kMainColour0Surface = 9;
inline constexpr size_t kMainColour1Surface = 10;

inline constexpr std::array<const wchar_t*, 4> kProfileStateImages = {
    L"Profile_normal.jpg", L"Profile_over.jpg", L"Profile_down.jpg", L"Profile_down.jpg",
};
inline constexpr StateAssignment kProfileButtons{0, 1, 2, 3, 0};

// Four pictures per button group, in the order normal, hover, pressed, disabled.
inline constexpr std::array<const wchar_t*, 20> kCompositeStateImages = {
    L"key_normal.jpg", L"key_over.jpg", L"key_down.jpg", L"key_normal.jpg",
    L"macro_normal.jpg", L"macro_over.jpg", L"macro_down.jpg", L"macro_disable.jpg",
    L"macro2_normal.jpg", L"macro2_over.jpg", L"macro2_down.jpg", L"macro2_disable.jpg",
    L"media_normal.jpg", L"media_over.jpg", L"media_down.jpg", L"media_normal.jpg",
    L"function_normal.jpg", L"function_over.jpg", L"function_down.jpg", L"function_normal.jpg",
};
// A group's selected face is its pressed picture.
inline constexpr StateAssignment kCompositeKeyGroup{0, 1, 2, 3, 2};
inline constexpr StateAssignment kCompositeMacroGroup{4, 5, 6, 7, 6};
inline constexpr StateAssignment kCompositeMacro2Group{8, 9, 10, 11, 10};
inline constexpr StateAssignment kCompositeMediaGroup{12, 13, 14, 15, 14};
inline constexpr StateAssignment kCompositeFunctionGroup{16, 17, 18, 19, 18};

inline constexpr std::array<const wchar_t*, 2> kUpdateStateImages = {L"update_normal.jpg", L"update_over.jpg"};
inline constexpr StateAssignment kUpdateButtons{0, 1, 1, 1, 1};

}  // namespace kw::skin
