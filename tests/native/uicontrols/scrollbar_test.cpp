#include "uikit/lists/scroll_position.h"
#include "uikit/lists/scrollbar_geometry.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

ScrollRange Range(int min, int max, int page, int pos) {
    ScrollRange r;
    r.minimum = min;
    r.maximum = max;
    r.page = page;
    r.position = pos;
    return r;
}

TEST(ScrollBarGeometry, ThumbIsPageScaledToTheTrackAndPlacedByPosition) {
    const IntRect bar = MakeRect(10, 50, 30, 250);  // a 200-pixel track
    ScrollBarParts p = ComputeScrollBar(bar, false, Range(0, 1000, 100, 0), 16, IntRect());
    EXPECT_EQ(p.track, bar);
    EXPECT_EQ(p.thumb, MakeRect(10, 50, 30, 70));  // 99 * 200 / 1000 rounds to 20

    p = ComputeScrollBar(bar, false, Range(0, 1000, 100, 500), 16, IntRect());
    EXPECT_EQ(p.thumb, MakeRect(10, 150, 30, 170));
    EXPECT_EQ(p.pageUp, MakeRect(10, 50, 30, 150));
    EXPECT_EQ(p.pageDown, MakeRect(10, 170, 30, 250));
    EXPECT_EQ(HitTestScrollBar(p, 20, 100), ScrollBarPart::PageUp);
    EXPECT_EQ(HitTestScrollBar(p, 20, 160), ScrollBarPart::Thumb);
    EXPECT_EQ(HitTestScrollBar(p, 20, 200), ScrollBarPart::PageDown);
    EXPECT_EQ(HitTestScrollBar(p, 5, 200), ScrollBarPart::None);
}

TEST(ScrollBarGeometry, ShortThumbGrowsToTheMinimumAndStaysInTheTrack) {
    const IntRect bar = MakeRect(0, 0, 20, 100);
    ScrollBarParts p = ComputeScrollBar(bar, false, Range(0, 1000, 100, 0), 16, IntRect());
    EXPECT_EQ(p.thumb.Height(), 16);
    EXPECT_EQ(p.thumb.top, 0);
    p = ComputeScrollBar(bar, false, Range(0, 1000, 100, 1000), 16, IntRect());
    EXPECT_EQ(p.thumb, MakeRect(0, 84, 20, 100));
    p = ComputeScrollBar(bar, false, Range(0, 1000, 100, 500), 30, IntRect());
    EXPECT_EQ(p.thumb.Height(), 30);
}

TEST(ScrollBarGeometry, PageLargerThanTheRangeFillsTheTrack) {
    const IntRect bar = MakeRect(0, 0, 20, 100);
    ScrollBarParts p = ComputeScrollBar(bar, false, Range(0, 50, 80, 0), 16, IntRect());
    EXPECT_EQ(p.thumb, p.track);
    EXPECT_TRUE(p.pageUp.IsEmpty());
    EXPECT_TRUE(p.pageDown.IsEmpty());
    // A track shorter than the minimum thumb: the thumb is cut to the track.
    p = ComputeScrollBar(MakeRect(0, 0, 20, 10), false, Range(0, 1000, 100, 900), 16, IntRect());
    EXPECT_EQ(p.thumb, p.track);
}

TEST(ScrollBarGeometry, EmptyRangeShowsNoThumb) {
    const ScrollBarParts p = ComputeScrollBar(MakeRect(0, 0, 20, 100), false, Range(0, 0, 10, 0), 16, IntRect());
    EXPECT_TRUE(p.thumb.IsEmpty());
    EXPECT_EQ(HitTestScrollBar(p, 5, 50), ScrollBarPart::None);
}

TEST(ScrollBarGeometry, WithoutPageTheThumbJumpsOnlyByWholeThumbLengths) {
    const IntRect bar = MakeRect(0, 0, 20, 116);  // travel 100
    ScrollBarParts p = ComputeScrollBar(bar, false, Range(0, 100, 0, 50), 16, IntRect());
    EXPECT_EQ(p.thumb, MakeRect(0, 50, 20, 66));
    p = ComputeScrollBar(bar, false, Range(0, 100, 0, 60), 16, p.thumb);
    EXPECT_EQ(p.thumb.top, 50);
    p = ComputeScrollBar(bar, false, Range(0, 100, 0, 66), 16, p.thumb);
    EXPECT_EQ(p.thumb.top, 66);
}

TEST(ScrollBarGeometry, HorizontalBarRunsAlongX) {
    const IntRect bar = MakeRect(50, 10, 250, 30);
    const ScrollBarParts p = ComputeScrollBar(bar, true, Range(0, 1000, 100, 500), 16, IntRect());
    EXPECT_EQ(p.thumb, MakeRect(150, 10, 170, 30));
    EXPECT_EQ(p.pageUp, MakeRect(50, 10, 150, 30));
}

TEST(ScrollBarDrag, ThumbFollowsThePointerInsideTheTrackAndReportsItsPosition) {
    const IntRect bar = MakeRect(0, 0, 20, 200);
    const ScrollRange range = Range(0, 1000, 100, 0);
    const ScrollBarParts p = ComputeScrollBar(bar, false, range, 16, IntRect());
    const ThumbDrag drag = BeginThumbDrag(p, false, 10, 5);
    EXPECT_EQ(drag.grabOffset, 5);

    ThumbDragStep step = DragThumb(p, false, range, drag, 10, 95);
    ASSERT_TRUE(step.follows);
    EXPECT_EQ(step.thumb, MakeRect(0, 90, 20, 110));
    EXPECT_EQ(step.trackPosition, 90 * 901 / 180);

    step = DragThumb(p, false, range, drag, 10, 199);  // clamped at the bottom
    EXPECT_EQ(step.thumb, MakeRect(0, 180, 20, 200));
    EXPECT_EQ(step.trackPosition, 901);
}

TEST(ScrollBarDrag, PointerFarBesideOrBeyondTheTrackIsIgnored) {
    const IntRect bar = MakeRect(100, 0, 120, 200);
    const ScrollRange range = Range(0, 1000, 100, 0);
    const ScrollBarParts p = ComputeScrollBar(bar, false, range, 16, IntRect());
    const ThumbDrag drag = BeginThumbDrag(p, false, 110, 5);
    EXPECT_TRUE(DragThumb(p, false, range, drag, 120 + 96, 50).follows);
    EXPECT_FALSE(DragThumb(p, false, range, drag, 120 + 97, 50).follows);
    EXPECT_FALSE(DragThumb(p, false, range, drag, 100 - 97, 50).follows);
    EXPECT_FALSE(DragThumb(p, false, range, drag, 110, 201).follows);
    EXPECT_FALSE(DragThumb(p, false, range, drag, 110, -1).follows);
}

TEST(ScrollBarDrag, ThumbAsLongAsTheTrackNeverDividesByZero) {
    const IntRect bar = MakeRect(0, 0, 20, 100);
    const ScrollRange range = Range(0, 50, 80, 0);
    const ScrollBarParts p = ComputeScrollBar(bar, false, range, 16, IntRect());
    ASSERT_EQ(p.thumb, p.track);
    const ThumbDragStep step = DragThumb(p, false, range, BeginThumbDrag(p, false, 5, 50), 5, 80);
    EXPECT_TRUE(step.follows);
    EXPECT_EQ(step.thumb, p.track);
    EXPECT_EQ(step.trackPosition, 0);
}

TEST(ScrollPosition, CodesMoveByLineAndPageWithinTheRange) {
    const ScrollRange r = Range(0, 400, 100, 150);
    EXPECT_EQ(LastScrollPosition(r), 301);
    EXPECT_EQ(ScrollPositionForCode(r, kScrollLineUp, 0), 149);
    EXPECT_EQ(ScrollPositionForCode(r, kScrollLineDown, 0), 151);
    EXPECT_EQ(ScrollPositionForCode(r, kScrollPageUp, 0), 50);
    EXPECT_EQ(ScrollPositionForCode(r, kScrollPageDown, 0), 250);
    EXPECT_EQ(ScrollPositionForCode(Range(0, 400, 100, 250), kScrollPageDown, 0), 301);
    EXPECT_EQ(ScrollPositionForCode(Range(0, 400, 100, 40), kScrollPageUp, 0), 0);
    EXPECT_EQ(ScrollPositionForCode(r, kScrollTop, 0), 0);
    EXPECT_EQ(ScrollPositionForCode(r, kScrollBottom, 0), 301);
    EXPECT_EQ(ScrollPositionForCode(r, kScrollThumbTrack, 222), 222);
    EXPECT_EQ(ScrollPositionForCode(r, kScrollThumbTrack, 999), 301);
}

TEST(ScrollPosition, WheelScrollsByAnEighthPageOnlyWhenMuchIsHidden) {
    // 90 pixels hidden: the wheel does nothing.
    EXPECT_EQ(ScrollPositionForWheel(Range(0, 290, 200, 0), -120), 0);
    // 400 pixels hidden: page / 8 per notch, towards the end for a negative delta.
    const ScrollRange r = Range(0, 600, 200, 0);
    EXPECT_EQ(ScrollPositionForWheel(r, -120), 25);
    EXPECT_EQ(ScrollPositionForWheel(Range(0, 600, 200, 25), 120), 0);
    EXPECT_EQ(ScrollPositionForWheel(Range(0, 600, 200, 10), 120), 0);
    EXPECT_EQ(ScrollPositionForWheel(Range(0, 600, 200, 390), -120), 401);
}

TEST(ScaleRounded, RoundsHalvesAwayFromZeroAndSurvivesZeroDivisor) {
    EXPECT_EQ(ScaleRounded(99, 200, 1000), 20);
    EXPECT_EQ(ScaleRounded(1, 1, 2), 1);
    EXPECT_EQ(ScaleRounded(-1, 1, 2), -1);
    EXPECT_EQ(ScaleRounded(7, 3, 0), 0);
    EXPECT_EQ(ScaleRounded(2000000000, 3, 4), 1500000000);
}

}  // namespace
}  // namespace kestro
