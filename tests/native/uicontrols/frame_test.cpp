#include "uikit/frame/frame_geometry.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

FrameSides ShippedFrame() {
    FrameThickness t;
    t.left = 1;
    t.top = 40;
    t.right = 1;
    t.bottom = 1;
    return LayoutFrame(528, 348, t);
}

TEST(FrameLayout, SidesSurroundTheClientArea) {
    const FrameSides s = ShippedFrame();
    EXPECT_EQ(s.client, MakeRect(1, 40, 527, 347));
    EXPECT_EQ(s.top, MakeRect(0, 0, 528, 40));
    EXPECT_EQ(s.left, MakeRect(0, 40, 1, 347));
    EXPECT_EQ(s.right, MakeRect(527, 40, 528, 347));
    EXPECT_EQ(s.bottom, MakeRect(0, 347, 528, 348));
}

TEST(FrameHitTest, ResizableFrameSizesAtEdgesAndDragsByTheTitleStrip) {
    const FrameSides s = ShippedFrame();
    const int def = 1;
    EXPECT_EQ(FrameHitTest(s, true, 2, 1, false, def), kHitTopLeft);
    EXPECT_EQ(FrameHitTest(s, true, 526, 1, false, def), kHitTopRight);
    EXPECT_EQ(FrameHitTest(s, true, 100, 1, false, def), kHitTop);
    EXPECT_EQ(FrameHitTest(s, true, 100, 30, false, def), kHitCaption);
    EXPECT_EQ(FrameHitTest(s, true, 2, 3, false, def), kHitTopLeft);
    EXPECT_EQ(FrameHitTest(s, true, 100, 2, false, def), kHitCaption);
    EXPECT_EQ(FrameHitTest(s, true, 0, 100, false, def), kHitLeft);
    EXPECT_EQ(FrameHitTest(s, true, 0, 344, false, def), kHitBottomLeft);
    EXPECT_EQ(FrameHitTest(s, true, 527, 100, false, def), kHitRight);
    EXPECT_EQ(FrameHitTest(s, true, 527, 343, false, def), kHitBottomRight);
    EXPECT_EQ(FrameHitTest(s, true, 2, 347, false, def), kHitBottomLeft);
    EXPECT_EQ(FrameHitTest(s, true, 300, 347, false, def), kHitBottom);
    EXPECT_EQ(FrameHitTest(s, true, 525, 347, false, def), kHitBottomRight);
    EXPECT_EQ(FrameHitTest(s, true, 300, 200, false, def), def);
    // A control in the strip (the close button) keeps its clicks.
    EXPECT_EQ(FrameHitTest(s, true, 500, 20, true, def), def);
}

TEST(FrameHitTest, FixedFrameHasOnlyTheCaption) {
    const FrameSides s = ShippedFrame();
    EXPECT_EQ(FrameHitTest(s, false, 2, 1, false, 1), kHitCaption);
    EXPECT_EQ(FrameHitTest(s, false, 100, 30, false, 1), kHitCaption);
    EXPECT_EQ(FrameHitTest(s, false, 500, 20, true, 1), 1);
    EXPECT_EQ(FrameHitTest(s, false, 0, 100, false, 1), 1);
}

TEST(ShadowPlacement, FourSidesHugTheOwner) {
    EXPECT_EQ(ShadowRect(kShadowBottom, 100, 100, 528, 348), MakeRect(73, 448, 655, 480));
    EXPECT_EQ(ShadowRect(kShadowLeft, 100, 100, 528, 348), MakeRect(73, 100, 100, 448));
    EXPECT_EQ(ShadowRect(kShadowTop, 100, 100, 528, 348), MakeRect(73, 78, 655, 100));
    EXPECT_EQ(ShadowRect(kShadowRight, 100, 100, 528, 348), MakeRect(628, 100, 655, 448));
    EXPECT_TRUE(ShadowRect(5, 100, 100, 528, 348).IsEmpty());
}

}  // namespace
}  // namespace kestro
