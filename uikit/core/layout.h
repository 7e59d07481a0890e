#pragma once
// Placement maths of the control tree and of window centring. Portable.

namespace kestro {

struct LayoutBox {
    int left, top, right, bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const LayoutBox& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const LayoutBox& o) const { return !(*this == o); }
};

// A child's rectangle from its layout (x, y, width, height). Anchor mode 0 counts a
// negative x from the parent's right edge and a negative y from its bottom edge; any
// other mode takes x and y as plain offsets from the parent's left and top.
LayoutBox LayoutChild(const LayoutBox& parent, int x, int y, int width, int height, int anchorMode);

// Top-left corner that centres a width x height box in `reference`.
void CenterIn(const LayoutBox& reference, int width, int height, int& x, int& y);

}  // namespace kestro
