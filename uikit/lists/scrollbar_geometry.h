#pragma once
#include "uikit/geometry/int_rect.h"

namespace kestro {

// What a scroll bar shows: the scrolled range, the visible page and the position.
struct ScrollRange {
    int minimum = 0;
    int maximum = 0;
    int page = 0;
    int position = 0;
};

// The parts of a scroll bar in window pixels. The line buttons are zero-sized:
// the whole bar is track.
struct ScrollBarParts {
    IntRect lineUp;
    IntRect lineDown;
    IntRect track;
    IntRect thumb;
    IntRect pageUp;
    IntRect pageDown;
};

enum class ScrollBarPart { None, LineUp, LineDown, PageUp, PageDown, Thumb };

constexpr int kDefaultMinThumbLength = 16;
// A thumb drag stops following a pointer this far beside the track.
constexpr int kThumbDragSideLimit = 96;

// value * numerator / denominator rounded to the nearest integer (halves away
// from zero); 0 for a zero denominator.
int ScaleRounded(int value, int numerator, int denominator);

// Lays the bar out for its range. previousThumb matters only for a bar without a
// page, whose thumb jumps only by whole thumb lengths.
ScrollBarParts ComputeScrollBar(const IntRect& bar, bool horizontal, const ScrollRange& range, int minThumb,
                                const IntRect& previousThumb);

ScrollBarPart HitTestScrollBar(const ScrollBarParts& parts, int x, int y);

// A thumb drag in progress: where the pointer grabbed the thumb.
struct ThumbDrag {
    int grabOffset = 0;  // pointer minus thumb start along the bar
};

ThumbDrag BeginThumbDrag(const ScrollBarParts& parts, bool horizontal, int x, int y);

struct ThumbDragStep {
    bool follows = false;  // false: the pointer is outside the drag zone, nothing moves
    IntRect thumb;
    int trackPosition = 0;
};

// One pointer move of a thumb drag: the thumb follows the pointer inside the track
// and the position it stands for is computed. A thumb that fills the whole track
// stands for the minimum.
ThumbDragStep DragThumb(const ScrollBarParts& parts, bool horizontal, const ScrollRange& range,
                        const ThumbDrag& drag, int x, int y);

}  // namespace kestro
