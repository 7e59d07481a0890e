#pragma once
// Placement maths of the control tree and of window centring. Portable.
#include "uikit/geometry/int_rect.h"

namespace kestro {

// A child's rectangle from its layout (x, y, width, height). Anchor mode 0 counts a
// negative x from the parent's right edge and a negative y from its bottom edge; any
// other mode takes x and y as plain offsets from the parent's left and top.
IntRect LayoutChild(const IntRect& parent, int x, int y, int width, int height, int anchorMode);

// Top-left corner that centres a width x height box in `reference`.
void CenterIn(const IntRect& reference, int width, int height, int& x, int& y);

}  // namespace kestro
