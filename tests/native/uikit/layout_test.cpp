#include "uikit/core/layout.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

TEST(Layout, NegativeOffsetsCountFromTheRightAndBottomInAnchorModeZero) {
    const IntRect parent{0, 0, 528, 348};
    EXPECT_EQ(LayoutChild(parent, -40, 10, 34, 28, 0), (IntRect{488, 10, 522, 38}));
    EXPECT_EQ(LayoutChild(parent, 10, -30, 20, 20, 0), (IntRect{10, 318, 30, 338}));
    EXPECT_EQ(LayoutChild(IntRect{100, 50, 300, 150}, 5, 6, 10, 10, 0), (IntRect{105, 56, 115, 66}));
}

TEST(Layout, NonZeroAnchorModeTakesPlainOffsets) {
    const IntRect parent{0, 0, 528, 348};
    EXPECT_EQ(LayoutChild(parent, -40, 10, 34, 28, 1), (IntRect{-40, 10, -6, 38}));
    EXPECT_EQ(LayoutChild(IntRect{0, 48, 528, 348}, 528, 0, 528, 300, 1), (IntRect{528, 48, 1056, 348}));
}

TEST(Layout, CentringOnAKnownDesktop) {
    int x = 0, y = 0;
    CenterIn(IntRect{0, 0, 1920, 1080}, 528, 348, x, y);
    EXPECT_EQ(x, 696);
    EXPECT_EQ(y, 366);
    CenterIn(IntRect{10, 10, 20, 20}, 30, 30, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

}  // namespace
}  // namespace kestro
