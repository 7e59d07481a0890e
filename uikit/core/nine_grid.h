#pragma once
// Where the pieces of a nine-grid image style go, and where a foreground image sits.
// Portable: the painter only blits what these functions decide.
#include <array>

namespace kestro {

struct GridRect {
    int x, y, w, h;
};

struct GridPiece {
    GridRect src;
    GridRect dst;
};

struct GridMargins {
    int left, top, right, bottom;
};

// Pieces for drawing source `src` into destination `dst` with fixed margins: up to
// nine, top row first. A row or column whose margins reach the source size is left
// out; pieces with an empty destination are dropped.
int NineGridPieces(const GridRect& dst, const GridRect& src, const GridMargins& margins, std::array<GridPiece, 9>& out);

// Top-left corner of a w x h foreground in the rectangle (left, top, right, bottom)
// for a placement value (1 top-left ... 128 bottom-right, anything else centred),
// moved by (dx, dy).
void ForegroundOrigin(int left, int top, int right, int bottom, int w, int h, int placement, int dx, int dy,
                      int& x, int& y);

}  // namespace kestro
