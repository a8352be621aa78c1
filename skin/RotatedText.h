#pragma once
// Where a button caption drawn at an angle must start so that it looks centred in the button.
#include "skin/Geometry.h"

namespace kw::skin {

// `rect` is the caption rectangle after the margins, `angleTenths` the escapement in tenths of a
// degree and (cx, cy) the caption's unrotated extent. Moves the left edge and the bottom edge so
// the rotated run of text sits in the middle; edges that the text would overflow stay put.
SkinRect CentreRotatedText(SkinRect rect, int angleTenths, int cx, int cy);

}  // namespace kw::skin
