#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "sample_skin.h"
#include "ui_test_support.h"
#include "uikit/edit/control_factory.h"
#include "uikit/lists/ui_list_view.h"

namespace kestro {
namespace {

using namespace test;

class ListsWindow : public ::testing::Test, public RootFixture {
protected:
    // A list at (20, 20), 300 x 146, columns 100 and 80, with `rows` rows.
    UIListView* MakeList(int rows) {
        auto* list = static_cast<UIListView*>(CreateChild(kTypeListView, &SampleSkin(), root, "List", GalleryNode()));
        list->SetPos(300, 146, 20, 20);
        list->AddColumn(L"游戏", 100);
        list->AddColumn(L"大小", 80);
        for (int i = 0; i < rows; ++i) list->AddRow({L"row " + std::to_wstring(i), L"1 MB"});
        return list;
    }
};

TEST_F(ListsWindow, HeaderPaintsOneSplitterBetweenTwoColumns) {
    UIListView* list = MakeList(2);
    const std::vector<RECT> none = list->GetHeader()->GetSplitters();
    EXPECT_EQ(PixelAt(120, 30), sample::kSplitter);
    const std::vector<RECT>& strips = list->GetHeader()->GetSplitters();
    ASSERT_EQ(strips.size(), 1u);
    EXPECT_EQ(strips[0].left, 119);
    EXPECT_EQ(strips[0].right, 121);
    EXPECT_NE(PixelAt(200, 30), sample::kSplitter);
    EXPECT_NE(PixelAt(20, 30), sample::kSplitter);
    EXPECT_EQ(list->GetHeader()->GetRect().bottom, 48);
}

TEST_F(ListsWindow, ClickSelectsTheRowUnderThePointerButNotBelowTheLast) {
    UIListView* list = MakeList(3);
    EXPECT_EQ(list->GetSelected(), -1);
    EXPECT_EQ(PixelAt(60, 50), sample::kListEven);
    EXPECT_EQ(PixelAt(60, 75), sample::kListOdd);
    ClickAt(hwnd(), 60, 48 + 24 + 5);
    EXPECT_EQ(list->GetSelected(), 1);
    EXPECT_EQ(PixelAt(60, 75), sample::kListSelected);
    ClickAt(hwnd(), 60, 48 + 3 * 24 + 10);
    EXPECT_EQ(list->GetSelected(), 1);
    EXPECT_TRUE(root->reports.empty());
}

TEST_F(ListsWindow, WheelAndThumbDragScrollTheRows) {
    UIListView* list = MakeList(20);
    list->ShowScrollBar(true);
    UIScrollBar* bar = list->GetScrollBar();
    const RECT barRect = bar->GetRect();
    EXPECT_EQ(barRect.left, 290);  // the rows stop 30 pixels short of the right edge
    EXPECT_EQ(list->GetListRect().right, 290);
    EXPECT_EQ(bar->GetRange().maximum, 480);
    EXPECT_EQ(bar->GetRange().page, 118);

    MoveMouse(hwnd(), 100, 100);
    Wheel(-WHEEL_DELTA);
    EXPECT_EQ(list->GetScrollOffset(), 118 / 8);
    Wheel(WHEEL_DELTA);
    EXPECT_EQ(list->GetScrollOffset(), 0);

    // Drag the thumb 40 pixels down, then far to the side: it stops following there.
    const RECT thumb = bar->GetParts().thumb.IsEmpty() ? RECT{} : RECT{bar->GetParts().thumb.left, bar->GetParts().thumb.top,
                                                                      bar->GetParts().thumb.right, bar->GetParts().thumb.bottom};
    const int x = (thumb.left + thumb.right) / 2;
    const int y = (thumb.top + thumb.bottom) / 2;
    MoveMouse(hwnd(), x, y);
    DragLater(hwnd(), {POINT{x, y + 20}, POINT{x, y + 40}, POINT{barRect.right + 97 + 1, y + 80}});
    MouseButton(true);
    ASSERT_TRUE(PumpUntil([&] { return GetCapture() == nullptr; }));
    const int offset = list->GetScrollOffset();
    EXPECT_GT(offset, 100);
    EXPECT_EQ(bar->GetParts().thumb.top, thumb.top + 40);
    EXPECT_LT(offset, 300);
    // The rows moved with it: the first visible row is the one at the offset.
    EXPECT_EQ(bar->GetRange().position, offset);
}

}  // namespace
}  // namespace kestro
