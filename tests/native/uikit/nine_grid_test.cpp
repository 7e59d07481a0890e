#include "uikit/core/nine_grid.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

bool Same(const GridRect& a, const GridRect& b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; }

TEST(NineGrid, FourPixelMarginsKeepCornersAndStretchTheCentre) {
    std::array<GridPiece, 9> p;
    // Source 10 x 32 at (0, 30) of a strip into a 100 x 40 box at (5, 6).
    const int n = NineGridPieces({5, 6, 100, 40}, {0, 30, 10, 32}, {4, 4, 4, 4}, p);
    ASSERT_EQ(n, 9);
    EXPECT_TRUE(Same(p[0].src, {0, 30, 4, 4}));
    EXPECT_TRUE(Same(p[0].dst, {5, 6, 4, 4}));
    EXPECT_TRUE(Same(p[1].src, {4, 30, 2, 4}));
    EXPECT_TRUE(Same(p[1].dst, {9, 6, 92, 4}));
    EXPECT_TRUE(Same(p[2].dst, {101, 6, 4, 4}));
    EXPECT_TRUE(Same(p[4].src, {4, 34, 2, 24}));
    EXPECT_TRUE(Same(p[4].dst, {9, 10, 92, 32}));
    EXPECT_TRUE(Same(p[8].src, {6, 58, 4, 4}));
    EXPECT_TRUE(Same(p[8].dst, {101, 42, 4, 4}));
}

TEST(NineGrid, ZeroMarginsStretchTheWholeSource) {
    std::array<GridPiece, 9> p;
    ASSERT_EQ(NineGridPieces({0, 0, 50, 20}, {3, 4, 10, 8}, {0, 0, 0, 0}, p), 1);
    EXPECT_TRUE(Same(p[0].src, {3, 4, 10, 8}));
    EXPECT_TRUE(Same(p[0].dst, {0, 0, 50, 20}));
}

TEST(NineGrid, MarginsReachingTheSourceSizeDropTheMiddleRowAndColumn) {
    std::array<GridPiece, 9> p;
    // Left + right = width: no centre column; top + bottom = height: no middle row.
    ASSERT_EQ(NineGridPieces({0, 0, 40, 40}, {0, 0, 10, 8}, {5, 4, 5, 4}, p), 4);
    EXPECT_TRUE(Same(p[1].dst, {35, 0, 5, 4}));
    EXPECT_TRUE(Same(p[3].dst, {35, 36, 5, 4}));
    // Shadow ends: margins only left and right.
    ASSERT_EQ(NineGridPieces({0, 0, 582, 22}, {0, 0, 94, 22}, {46, 0, 46, 0}, p), 3);
    EXPECT_TRUE(Same(p[1].src, {46, 0, 2, 22}));
    EXPECT_TRUE(Same(p[1].dst, {46, 0, 490, 22}));
}

TEST(NineGrid, ABoxSmallerThanTheMarginsDropsEmptyPieces) {
    std::array<GridPiece, 9> p;
    const int n = NineGridPieces({0, 0, 6, 6}, {0, 0, 10, 10}, {4, 4, 4, 4}, p);
    for (int i = 0; i < n; ++i) {
        EXPECT_GT(p[size_t(i)].dst.w, 0);
        EXPECT_GT(p[size_t(i)].dst.h, 0);
    }
    EXPECT_EQ(n, 4);
}

TEST(NineGrid, ForegroundPlacements) {
    int x = 0, y = 0;
    const struct {
        int placement, x, y;
    } cases[] = {{1, 10, 20}, {2, 55, 20}, {4, 100, 20}, {8, 10, 55}, {16, 100, 55},
                 {32, 10, 90}, {64, 55, 90}, {128, 100, 90}, {0, 55, 55}, {3, 55, 55}};
    for (const auto& c : cases) {
        ForegroundOrigin(10, 20, 110, 100, 10, 10, c.placement, 0, 0, x, y);
        EXPECT_EQ(x, c.x) << c.placement;
        EXPECT_EQ(y, c.y) << c.placement;
    }
    ForegroundOrigin(10, 20, 110, 100, 10, 10, 1, 3, -2, x, y);
    EXPECT_EQ(x, 13);
    EXPECT_EQ(y, 18);
    // Halvings truncate toward zero: (-3 + 0) / 2 = -1, 5 / 2 = 2.
    ForegroundOrigin(-3, 0, 0, 0, 5, 0, 2, 0, 0, x, y);
    EXPECT_EQ(x, -3);
}

}  // namespace
}  // namespace kestro
