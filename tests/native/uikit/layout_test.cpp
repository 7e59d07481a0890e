#include "uikit/core/layout.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

TEST(Layout, NegativeOffsetsCountFromTheRightAndBottomInAnchorModeZero) {
    const LayoutBox parent{0, 0, 528, 348};
    EXPECT_EQ(LayoutChild(parent, -40, 10, 34, 28, 0), (LayoutBox{488, 10, 522, 38}));
    EXPECT_EQ(LayoutChild(parent, 10, -30, 20, 20, 0), (LayoutBox{10, 318, 30, 338}));
    EXPECT_EQ(LayoutChild(LayoutBox{100, 50, 300, 150}, 5, 6, 10, 10, 0), (LayoutBox{105, 56, 115, 66}));
}

TEST(Layout, NonZeroAnchorModeTakesPlainOffsets) {
    const LayoutBox parent{0, 0, 528, 348};
    EXPECT_EQ(LayoutChild(parent, -40, 10, 34, 28, 1), (LayoutBox{-40, 10, -6, 38}));
    EXPECT_EQ(LayoutChild(LayoutBox{0, 48, 528, 348}, 528, 0, 528, 300, 1), (LayoutBox{528, 48, 1056, 348}));
}

TEST(Layout, CentringOnAKnownDesktop) {
    int x = 0, y = 0;
    CenterIn(LayoutBox{0, 0, 1920, 1080}, 528, 348, x, y);
    EXPECT_EQ(x, 696);
    EXPECT_EQ(y, 366);
    CenterIn(LayoutBox{10, 10, 20, 20}, 30, 30, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

}  // namespace
}  // namespace kestro
