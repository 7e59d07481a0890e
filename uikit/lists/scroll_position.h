#pragma once
#include "uikit/lists/scrollbar_geometry.h"

namespace kestro {

// Notification codes a scroll bar reports to its owner (the wParam's low word).
enum ScrollCode {
    kScrollLineUp = 0,
    kScrollLineDown = 1,
    kScrollPageUp = 2,
    kScrollPageDown = 3,
    kScrollThumbTrack = 5,
    kScrollTop = 6,
    kScrollBottom = 7,
};

// Wheel scrolling stays off while the hidden part of the content is this small.
constexpr int kWheelScrollThreshold = 100;

// The last position a scroll owner shows: the page then ends on the last line.
int LastScrollPosition(const ScrollRange& range);

// The new position after a scroll bar notification (code, and the track position
// reported with a thumb drag), kept between the minimum and the last position.
int ScrollPositionForCode(const ScrollRange& range, int code, int trackPosition);

// The new position after one wheel notch: page / 8 towards the end for a negative
// delta, towards the start otherwise; unchanged while little is hidden.
int ScrollPositionForWheel(const ScrollRange& range, int wheelDelta);

}  // namespace kestro
