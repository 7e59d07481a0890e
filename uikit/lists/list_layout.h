#pragma once
#include <cstddef>
#include <vector>

#include "uikit/geometry/int_rect.h"

namespace kestro {

// Room kept right of the rows while the list's scroll bar is shown.
constexpr int kListScrollBarRoom = 30;

struct ListFrame {
    IntRect list;       // the rows' area
    IntRect header;
    IntRect scrollBar;  // empty while the scroll bar is hidden
};

// Splits a list view's rectangle into header, rows and scroll bar.
ListFrame ComputeListFrame(const IntRect& rect, int headerHeight, bool scrollBarVisible, int scrollBarWidth);

// Row i spans the list's width, one item height tall, from the list's top.
IntRect ListRowRect(const IntRect& list, int itemHeight, int row);

// Cell j of a row starts after the header columns before it and is as wide as
// column j (0 without such a column), cut at the list's right edge.
IntRect ListCellRect(const IntRect& list, const IntRect& row, const std::vector<int>& columnWidths, size_t cell);

// The first row whose rectangle, moved up by the scroll offset, holds the point; -1 for none.
int ListRowAtPoint(const std::vector<IntRect>& rows, int scrollOffset, int x, int y);

struct ListStripe {
    IntRect rect;
    bool even = true;  // rows 0, 2, ...
};

// The alternating background stripes that fill the list from its top down.
std::vector<ListStripe> ListStripes(const IntRect& list, int itemHeight);

}  // namespace kestro
