#include "skin/ReportFilter.h"

#include <algorithm>

namespace kw::skin {

namespace {
unsigned RowStateBits(RowState row) {
    return (row.selected ? kRowSelected : kRowUnselected) | (row.checked ? kRowChecked : kRowUnchecked) |
           (row.focused ? kRowFocused : kRowUnfocused);
}
}  // namespace

bool RowMatches(RowState row, unsigned filter) {
    if (filter & kRowAll) return true;
    if (filter == 0) return false;
    return (RowStateBits(row) & filter) == filter;
}

int ClampMoveTarget(int target, int count) {
    if (count <= 0) return 0;
    return std::clamp(target, 0, count - 1);
}

}  // namespace kw::skin
