#include "uikit/lists/header_layout.h"

namespace kestro {

std::vector<IntRect> LayoutHeaderColumns(const IntRect& header, const std::vector<int>& widths) {
    std::vector<IntRect> columns;
    columns.reserve(widths.size());
    int x = header.left;
    for (int width : widths) {
        columns.push_back(MakeRect(x, header.top, x + width, header.bottom));
        x += width;
    }
    return columns;
}

std::vector<IntRect> HeaderSplitterStrips(const IntRect& header, const std::vector<int>& widths) {
    std::vector<IntRect> strips;
    const std::vector<IntRect> columns = LayoutHeaderColumns(header, widths);
    for (size_t i = 1; i < columns.size(); ++i) {
        strips.push_back(MakeRect(columns[i].left - 1, header.top, columns[i].left + 1, header.bottom));
    }
    return strips;
}

}  // namespace kestro
