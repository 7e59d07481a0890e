#include "uikit/controls/control_metrics.h"

#include <algorithm>
#include <cstdint>

namespace kestro {

int ProgressFillWidth(int width, int position, int minimum, int maximum) {
    if (minimum >= maximum || width <= 0) return 0;
    const int64_t fill = int64_t(width) * (int64_t(position) - minimum) / (int64_t(maximum) - minimum);
    return int(std::max<int64_t>(0, std::min<int64_t>(fill, width)));
}

int TabItemWidth(int textWidth) { return std::max(kTabMinItemWidth, textWidth + kTabTextPadding); }

std::vector<IntRect> LayoutTabItems(const IntRect& control, bool vertical, const std::vector<TabItemShape>& items) {
    std::vector<IntRect> rects;
    int x = control.left;
    int y = control.top;
    for (const TabItemShape& item : items) {
        if (!item.visible) {
            rects.push_back(IntRect());
        } else if (vertical) {
            rects.push_back(MakeRect(control.left, y, control.right, y + kTabVerticalItemHeight));
            y += kTabVerticalItemHeight;
        } else {
            const int w = TabItemWidth(item.textWidth);
            rects.push_back(MakeRect(x, control.top, x + w, control.bottom));
            x += w;
        }
    }
    return rects;
}

std::vector<IntRect> LayoutToolItems(const IntRect& bar, const ToolBarMetrics& m, const std::vector<ToolItemShape>& items) {
    std::vector<IntRect> rects;
    int x = bar.left + m.spacing;
    const int top = bar.top + (bar.Height() - m.itemHeight) / 2 + m.verticalOffset;
    for (const ToolItemShape& item : items) {
        if (!item.visible) {
            rects.push_back(IntRect());
            continue;
        }
        const int w = (item.separator ? m.separatorWidth : m.itemWidth) + 2 * m.spacing;
        rects.push_back(MakeRect(x, top, x + w, top + m.itemHeight));
        x += w;
    }
    return rects;
}

}  // namespace kestro
