#include "uikit/controls/button_states.h"
#include "uikit/controls/control_metrics.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

TEST(ButtonStyles, StateChoosesTheStyleAndDisabledAlwaysGrays) {
    EXPECT_EQ(ButtonStyleIndex(kVisualNormal, true), kStyleNormal);
    EXPECT_EQ(ButtonStyleIndex(kVisualLighted, true), kStyleLighted);
    EXPECT_EQ(ButtonStyleIndex(kVisualPressed, true), kStylePressed);
    EXPECT_EQ(ButtonStyleIndex(kVisualPressed, false), kStyleGrayed);
    EXPECT_EQ(CheckBoxStyleIndex(kVisualNormal, true, true), kStylePressed);
    EXPECT_EQ(CheckBoxStyleIndex(kVisualLighted, true, true), kStyleLighted);
    EXPECT_EQ(CheckBoxStyleIndex(kVisualNormal, false, true), kStyleNormal);
    EXPECT_EQ(CheckBoxStyleIndex(kVisualPressed, true, false), kStyleGrayed);
}

TEST(CheckBoxInput, PressAndReleaseOverTheBoxToggles) {
    CheckBoxState s;
    EXPECT_TRUE(CheckBoxEnter(s, true, true));
    EXPECT_EQ(s.visual, kVisualLighted);
    CheckBoxPress(s);
    EXPECT_TRUE(CheckBoxRelease(s, true, true));
    EXPECT_TRUE(s.checked);
    EXPECT_EQ(s.visual, kVisualPressed);
    CheckBoxPress(s);
    EXPECT_TRUE(CheckBoxRelease(s, true, true));
    EXPECT_FALSE(s.checked);
    EXPECT_EQ(s.visual, kVisualLighted);
}

TEST(CheckBoxInput, ReleaseWithoutAPressOverTheBoxDoesNotToggle) {
    CheckBoxState s;
    CheckBoxEnter(s, true, true);
    EXPECT_FALSE(CheckBoxRelease(s, true, true));
    EXPECT_FALSE(s.checked);

    // A checked box shows pressed on enter; a stray release must still not uncheck it.
    CheckBoxState c;
    c.checked = true;
    CheckBoxEnter(c, true, true);
    EXPECT_EQ(c.visual, kVisualPressed);
    EXPECT_FALSE(CheckBoxRelease(c, true, true));
    EXPECT_TRUE(c.checked);
}

TEST(CheckBoxInput, DisabledBoxIgnoresInput) {
    CheckBoxState s;
    EXPECT_FALSE(CheckBoxEnter(s, false, true));
    CheckBoxPress(s);
    EXPECT_FALSE(CheckBoxRelease(s, false, true));
    EXPECT_FALSE(s.checked);
    CheckBoxState t;
    t.visual = kVisualLighted;
    EXPECT_FALSE(CheckBoxLeave(t, false, true));
    EXPECT_TRUE(CheckBoxLeave(t, true, true));
    EXPECT_EQ(t.visual, kVisualNormal);
}

TEST(RadioBoxInput, OnlyAnUncheckedBoxBecomesChecked) {
    CheckBoxState s;
    CheckBoxPress(s);
    EXPECT_TRUE(RadioBoxRelease(s, true, true));
    EXPECT_TRUE(s.checked);
    CheckBoxPress(s);
    EXPECT_FALSE(RadioBoxRelease(s, true, true));
    EXPECT_TRUE(s.checked);
    CheckBoxState stray;
    EXPECT_FALSE(RadioBoxRelease(stray, true, true));
}

TEST(ProgressFill, ProportionalAndClippedToTheBar) {
    EXPECT_EQ(ProgressFillWidth(10, 50, 0, 100), 5);
    EXPECT_EQ(ProgressFillWidth(10, 150, 0, 100), 10);
    EXPECT_EQ(ProgressFillWidth(10, -20, 0, 100), 0);
    EXPECT_EQ(ProgressFillWidth(10, 50, 100, 100), 0);
    EXPECT_EQ(ProgressFillWidth(10, 50, 100, 0), 0);
    EXPECT_EQ(ProgressFillWidth(200, 60, 50, 150), 20);
    EXPECT_EQ(ProgressFillWidth(2000000, 2000000, 0, 2000000), 2000000);
}

TEST(TabLayout, ItemsAreTextPlusPaddingButAtLeastEighty) {
    EXPECT_EQ(TabItemWidth(20), 80);
    EXPECT_EQ(TabItemWidth(44), 80);
    EXPECT_EQ(TabItemWidth(60), 95);
    std::vector<TabItemShape> items(3);
    items[0].textWidth = 20;
    items[1].visible = false;
    items[2].textWidth = 60;
    std::vector<IntRect> r = LayoutTabItems(MakeRect(10, 5, 400, 35), false, items);
    EXPECT_EQ(r[0], MakeRect(10, 5, 90, 35));
    EXPECT_TRUE(r[1].IsEmpty());
    EXPECT_EQ(r[2], MakeRect(90, 5, 185, 35));
    r = LayoutTabItems(MakeRect(10, 5, 110, 305), true, items);
    EXPECT_EQ(r[2], MakeRect(10, 35, 110, 65));
}

TEST(ToolBarLayout, ItemsAndSeparatorsKeepTheSpacingAndAreCentred) {
    ToolBarMetrics m;
    m.itemWidth = 24;
    m.itemHeight = 20;
    m.spacing = 3;
    m.verticalOffset = 1;
    m.separatorWidth = 2;
    std::vector<ToolItemShape> items(4);
    items[1].separator = true;
    items[2].visible = false;
    const std::vector<IntRect> r = LayoutToolItems(MakeRect(100, 0, 300, 40), m, items);
    EXPECT_EQ(r[0], MakeRect(103, 11, 133, 31));
    EXPECT_EQ(r[1], MakeRect(133, 11, 141, 31));
    EXPECT_TRUE(r[2].IsEmpty());
    EXPECT_EQ(r[3], MakeRect(141, 11, 171, 31));
}

}  // namespace
}  // namespace kestro
