#include "nine_grid.h"

#include <cstddef>

namespace kestro {

int NineGridPieces(const GridRect& dst, const GridRect& src, const GridMargins& m, std::array<GridPiece, 9>& out) {
    int count = 0;
    auto add = [&](int sx, int sy, int sw, int sh, int dx, int dy, int dw, int dh) {
        if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
        out[size_t(count++)] = GridPiece{{sx, sy, sw, sh}, {dx, dy, dw, dh}};
    };
    const int l = m.left, t = m.top, r = m.right, b = m.bottom;
    const bool centreColumn = l + r < src.w;
    auto row = [&](int sy, int sh, int dy, int dh) {
        if (l > 0) add(src.x, sy, l, sh, dst.x, dy, l, dh);
        if (centreColumn) add(src.x + l, sy, src.w - l - r, sh, dst.x + l, dy, dst.w - l - r, dh);
        if (r > 0) add(src.x + src.w - r, sy, r, sh, dst.x + dst.w - r, dy, r, dh);
    };
    if (t > 0) row(src.y, t, dst.y, t);
    if (t + b < src.h) row(src.y + t, src.h - t - b, dst.y + t, dst.h - t - b);
    if (b > 0) row(src.y + src.h - b, b, dst.y + dst.h - b, b);
    return count;
}

void ForegroundOrigin(int left, int top, int right, int bottom, int w, int h, int placement, int dx, int dy,
                      int& x, int& y) {
    const int centre = (left + right) / 2 - w / 2;
    const int middle = (top + bottom) / 2 - h / 2;
    switch (placement) {
        case 1: x = left, y = top; break;
        case 2: x = centre, y = top; break;
        case 4: x = right - w, y = top; break;
        case 8: x = left, y = middle; break;
        case 16: x = right - w, y = middle; break;
        case 32: x = left, y = bottom - h; break;
        case 64: x = centre, y = bottom - h; break;
        case 128: x = right - w, y = bottom - h; break;
        default: x = centre, y = middle; break;
    }
    x += dx;
    y += dy;
}

}  // namespace kestro
