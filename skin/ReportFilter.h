#pragma once
// Row filters of the report list (counting and searching) and the arithmetic of row moves.
namespace kw::skin {

// Filter bits, also the state bits of SetItemStates.
inline constexpr unsigned kRowAll = 0x01;
inline constexpr unsigned kRowSelected = 0x02;
inline constexpr unsigned kRowUnselected = 0x04;
inline constexpr unsigned kRowChecked = 0x08;
inline constexpr unsigned kRowUnchecked = 0x10;
inline constexpr unsigned kRowFocused = 0x20;
inline constexpr unsigned kRowUnfocused = 0x40;

struct RowState {
    bool selected = false;
    bool checked = false;
    bool focused = false;
};

// kRowAll matches every row; otherwise every condition named in the filter must hold, so an empty
// filter, or one naming a condition together with its opposite, matches nothing.
bool RowMatches(RowState row, unsigned filter);

// Where a row asked to move to `target` lands in a list of `count` rows: clamped to 0 .. count - 1
// (-1 therefore means the top and any large number the bottom).
int ClampMoveTarget(int target, int count);

}  // namespace kw::skin
