#pragma once
#include <cstddef>
#include <vector>

#include "uikit/geometry/int_rect.h"

namespace kestro {

// Columns sit left to right from the header's left edge, each as wide as its
// width and as tall as the header.
std::vector<IntRect> LayoutHeaderColumns(const IntRect& header, const std::vector<int>& widths);

// The splitter strips: 2 pixels centred on the left edge of every column but the first.
std::vector<IntRect> HeaderSplitterStrips(const IntRect& header, const std::vector<int>& widths);

}  // namespace kestro
