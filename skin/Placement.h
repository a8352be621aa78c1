#pragma once
// A control's place in a skin layout file: "x,y,w,h" in pixels of the dialog's client area.
#include <string_view>

namespace kw::skin {

struct Placement {
    int x = 1;
    int y = 1;
    int w = 1;
    int h = 1;
    friend bool operator==(const Placement&, const Placement&) = default;
};

// The value a layout key takes when the file does not have it: a 1 by 1 square at (1, 1).
inline constexpr std::wstring_view kDefaultPlacement = L"1,1,1,1,x";
// Layout values are read into a buffer of this many characters (the last one is the terminator).
inline constexpr int kPlacementBufferLength = 260;

// Window coordinates beyond this are never meaningful, and keeping values inside it means the
// offset arithmetic of the buttons (x - 1, x + width) can never overflow.
inline constexpr int kPlacementLimit = 32767;

// Reads up to four decimal integers separated by commas, the way "%d,%d,%d,%d" does: blanks before
// a number are skipped, a comma must follow each number directly, and anything after the fourth
// number is ignored. Numbers that are missing or unreadable keep the default's value (1).
// Coordinates are clamped to +/- kPlacementLimit and sizes to 0 .. kPlacementLimit.
Placement ParsePlacement(std::wstring_view value);

// True when a button placed here is switched off by the skin: the default place (1, 1).
inline bool DisablesButton(const Placement& p) { return p.x == 1 && p.y == 1; }

}  // namespace kw::skin
