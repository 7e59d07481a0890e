#include "uikit/lists/header_layout.h"
#include "uikit/lists/list_layout.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

TEST(HeaderLayout, SplitterOnlyBetweenColumns) {
    const IntRect header = MakeRect(10, 0, 300, 32);
    const std::vector<IntRect> strips = HeaderSplitterStrips(header, {100, 80});
    ASSERT_EQ(strips.size(), 1u);
    EXPECT_EQ(strips[0], MakeRect(109, 0, 111, 32));
    EXPECT_TRUE(HeaderSplitterStrips(header, {100}).empty());
    const std::vector<IntRect> columns = LayoutHeaderColumns(header, {100, 80});
    EXPECT_EQ(columns[1], MakeRect(110, 0, 190, 32));
}

TEST(ListLayout, ScrollBarTakesThirtyPixelsBesideTheRowsBelowTheHeader) {
    const IntRect rect = MakeRect(0, 0, 200, 200);
    ListFrame f = ComputeListFrame(rect, 32, false, 12);
    EXPECT_EQ(f.list, MakeRect(0, 32, 200, 200));
    EXPECT_EQ(f.header, MakeRect(0, 0, 200, 32));
    EXPECT_TRUE(f.scrollBar.IsEmpty());

    f = ComputeListFrame(MakeRect(20, 10, 220, 210), 32, true, 12);
    EXPECT_EQ(f.list, MakeRect(20, 42, 190, 210));
    EXPECT_EQ(f.header, MakeRect(20, 10, 190, 42));
    EXPECT_EQ(f.scrollBar, MakeRect(190, 42, 202, 210));
}

TEST(ListLayout, CellsFollowTheHeaderColumnsAndAreCutAtTheRightEdge) {
    const IntRect list = MakeRect(0, 32, 150, 200);
    const IntRect row = ListRowRect(list, 28, 2);
    EXPECT_EQ(row, MakeRect(0, 88, 150, 116));
    const std::vector<int> widths = {100, 80};
    EXPECT_EQ(ListCellRect(list, row, widths, 0), MakeRect(0, 88, 100, 116));
    EXPECT_EQ(ListCellRect(list, row, widths, 1), MakeRect(100, 88, 150, 116));
    EXPECT_EQ(ListCellRect(list, row, widths, 2).Width(), 0);
}

TEST(ListSelection, ClickPicksTheScrolledRowAndMissesBelowTheLast) {
    const IntRect list = MakeRect(0, 32, 200, 200);
    std::vector<IntRect> rows;
    for (int i = 0; i < 3; ++i) rows.push_back(ListRowRect(list, 28, i));
    EXPECT_EQ(ListRowAtPoint(rows, 0, 10, 33), 0);
    EXPECT_EQ(ListRowAtPoint(rows, 0, 10, 60), 1);
    EXPECT_EQ(ListRowAtPoint(rows, 28, 10, 33), 1);
    EXPECT_EQ(ListRowAtPoint(rows, 0, 10, 116), -1);
    EXPECT_EQ(ListRowAtPoint(rows, 0, 250, 40), -1);
}

TEST(ListStripes, AlternateEvenAndOddDownToTheBottom) {
    const std::vector<ListStripe> s = ListStripes(MakeRect(0, 32, 200, 120), 28);
    ASSERT_EQ(s.size(), 4u);
    EXPECT_TRUE(s[0].even);
    EXPECT_FALSE(s[1].even);
    EXPECT_TRUE(s[2].even);
    EXPECT_EQ(s[3].rect, MakeRect(0, 116, 200, 144));
    EXPECT_TRUE(ListStripes(MakeRect(0, 0, 10, 10), 0).empty());
}

}  // namespace
}  // namespace kestro
