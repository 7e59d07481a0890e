#pragma once
#include <vector>

#include "uikit/geometry/int_rect.h"

namespace kestro {

// Width of a progress bar's filled part, clipped to the bar; 0 for an empty range.
int ProgressFillWidth(int width, int position, int minimum, int maximum);

// Tab items: the text plus padding, never narrower than the minimum.
constexpr int kTabTextPadding = 35;
constexpr int kTabMinItemWidth = 80;
constexpr int kTabVerticalItemHeight = 30;
int TabItemWidth(int textWidth);

struct TabItemShape {
    bool visible = true;
    int textWidth = 0;
};

// Item rectangles of a tab control: side by side from the left, or stacked from the
// top in vertical layout; hidden items get an empty rectangle.
std::vector<IntRect> LayoutTabItems(const IntRect& control, bool vertical, const std::vector<TabItemShape>& items);

struct ToolItemShape {
    bool visible = true;
    bool separator = false;
};

struct ToolBarMetrics {
    int itemWidth = 0;
    int itemHeight = 0;
    int spacing = 0;
    int verticalOffset = 0;
    int separatorWidth = 0;  // width of the separator image, 0 without one
};

// Item rectangles of a tool bar, left to right from the left edge plus the spacing;
// every item is vertically centred and keeps the spacing on both sides.
std::vector<IntRect> LayoutToolItems(const IntRect& bar, const ToolBarMetrics& m, const std::vector<ToolItemShape>& items);

}  // namespace kestro
