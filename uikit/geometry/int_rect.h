#pragma once

namespace kestro {

// A rectangle in window pixels, right and bottom exclusive, laid out like the
// system's RECT so the toolkit's portable cores need no windows.h.
struct IntRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend bool operator==(const IntRect& a, const IntRect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
    friend bool operator!=(const IntRect& a, const IntRect& b) { return !(a == b); }
};

inline IntRect MakeRect(int left, int top, int right, int bottom) {
    IntRect r;
    r.left = left;
    r.top = top;
    r.right = right;
    r.bottom = bottom;
    return r;
}

}  // namespace kestro
