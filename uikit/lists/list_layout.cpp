#include "uikit/lists/list_layout.h"

#include <algorithm>

namespace kestro {

ListFrame ComputeListFrame(const IntRect& rect, int headerHeight, bool scrollBarVisible, int scrollBarWidth) {
    ListFrame f;
    const int room = scrollBarVisible ? kListScrollBarRoom : 0;
    const int listTop = rect.top + headerHeight;
    f.list = MakeRect(rect.left, listTop, rect.right - room, rect.bottom);
    f.header = MakeRect(rect.left, rect.top, rect.left + rect.Width() - room, listTop);
    if (scrollBarVisible) {
        const int x = rect.left + f.list.Width();
        f.scrollBar = MakeRect(x, listTop, x + scrollBarWidth, rect.bottom);
    }
    return f;
}

IntRect ListRowRect(const IntRect& list, int itemHeight, int row) {
    const int top = list.top + row * itemHeight;
    return MakeRect(list.left, top, list.right, top + itemHeight);
}

IntRect ListCellRect(const IntRect& list, const IntRect& row, const std::vector<int>& columnWidths, size_t cell) {
    int left = list.left;
    for (size_t j = 0; j < cell && j < columnWidths.size(); ++j) left += columnWidths[j];
    const int width = cell < columnWidths.size() ? columnWidths[cell] : 0;
    left = std::min(left, list.right);
    return MakeRect(left, row.top, std::min(left + width, list.right), row.bottom);
}

int ListRowAtPoint(const std::vector<IntRect>& rows, int scrollOffset, int x, int y) {
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].Contains(x, y + scrollOffset)) return int(i);
    }
    return -1;
}

std::vector<ListStripe> ListStripes(const IntRect& list, int itemHeight) {
    std::vector<ListStripe> stripes;
    if (itemHeight <= 0) return stripes;
    bool even = true;
    for (int top = list.top; top < list.bottom; top += itemHeight) {
        stripes.push_back(ListStripe{MakeRect(list.left, top, list.right, top + itemHeight), even});
        even = !even;
    }
    return stripes;
}

}  // namespace kestro
