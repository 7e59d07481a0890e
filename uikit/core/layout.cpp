#include "layout.h"

namespace kestro {

IntRect LayoutChild(const IntRect& parent, int x, int y, int width, int height, int anchorMode) {
    IntRect box{};
    if (anchorMode == 0) {
        box.top = y + (y < 0 ? parent.bottom : parent.top);
        box.left = x + (x < 0 ? parent.right : parent.left);
    } else {
        box.left = parent.left + x;
        box.top = parent.top + y;
    }
    box.right = box.left + width;
    box.bottom = box.top + height;
    return box;
}

void CenterIn(const IntRect& reference, int width, int height, int& x, int& y) {
    x = reference.left + (reference.Width() - width) / 2;
    y = reference.top + (reference.Height() - height) / 2;
}

}  // namespace kestro
