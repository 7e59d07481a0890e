#include "uikit/lists/scrollbar_geometry.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace kestro {
namespace {

IntRect Transposed(const IntRect& r) { return MakeRect(r.top, r.left, r.bottom, r.right); }

ScrollBarParts Transposed(const ScrollBarParts& p) {
    ScrollBarParts t;
    t.lineUp = Transposed(p.lineUp);
    t.lineDown = Transposed(p.lineDown);
    t.track = Transposed(p.track);
    t.thumb = Transposed(p.thumb);
    t.pageUp = Transposed(p.pageUp);
    t.pageDown = Transposed(p.pageDown);
    return t;
}

ScrollBarParts ComputeVertical(const IntRect& bar, const ScrollRange& r, int minThumb, const IntRect& previous) {
    ScrollBarParts p;
    p.lineUp = MakeRect(bar.left, bar.top, bar.right, bar.top);
    p.lineDown = MakeRect(bar.left, bar.bottom, bar.right, bar.bottom);
    p.track = MakeRect(bar.left, p.lineUp.bottom, bar.right, p.lineDown.top);
    const int trackLength = p.track.Height();
    const int range = r.maximum - r.minimum;
    const int travel = r.position - r.minimum;

    bool hasThumb = false;
    int offset = 0;
    int length = 0;
    if (range > 0 && r.page > 0) {
        length = range < r.page ? trackLength : ScaleRounded(r.page - 1, trackLength, range);
        offset = ScaleRounded(travel, trackLength, range);
        if (length < minThumb) {
            offset = ScaleRounded(travel, length + trackLength - minThumb, range);
            offset = std::max(0, std::min(offset, trackLength - minThumb));
            length = minThumb;
        }
        hasThumb = true;
    } else if (range > 0) {
        const int candidate = std::max(0, std::min(ScaleRounded(travel, trackLength - minThumb, range),
                                                   trackLength - minThumb));
        const bool hadThumb = !previous.IsEmpty();
        if (!hadThumb || std::abs(p.track.top + candidate - previous.top) >= minThumb) {
            offset = candidate;
        } else {
            offset = previous.top - p.track.top;
        }
        length = minThumb;
        hasThumb = true;
    }

    if (!hasThumb) {
        p.thumb = MakeRect(bar.left, p.track.top, bar.right, p.track.top);
        p.pageUp = MakeRect(bar.left, p.track.top, bar.right, p.track.top);
        p.pageDown = p.pageUp;
        return p;
    }
    if (length > trackLength) {
        p.thumb = p.track;
    } else {
        const int top = p.track.top + offset;
        p.thumb = MakeRect(bar.left, top, bar.right, std::min(top + length, p.track.bottom));
    }
    p.pageUp = MakeRect(bar.left, p.lineUp.bottom, bar.right, p.thumb.top);
    p.pageDown = MakeRect(bar.left, p.thumb.bottom, bar.right, p.lineDown.top);
    return p;
}

}  // namespace

int ScaleRounded(int value, int numerator, int denominator) {
    if (denominator == 0) return 0;
    const int64_t product = int64_t(value) * numerator;
    const int64_t half = std::abs(int64_t(denominator)) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const int64_t magnitude = (std::abs(product) + half) / std::abs(int64_t(denominator));
    return int(negative ? -magnitude : magnitude);
}

ScrollBarParts ComputeScrollBar(const IntRect& bar, bool horizontal, const ScrollRange& range, int minThumb,
                                const IntRect& previousThumb) {
    if (!horizontal) return ComputeVertical(bar, range, minThumb, previousThumb);
    return Transposed(ComputeVertical(Transposed(bar), range, minThumb, Transposed(previousThumb)));
}

ScrollBarPart HitTestScrollBar(const ScrollBarParts& parts, int x, int y) {
    if (parts.lineUp.Contains(x, y)) return ScrollBarPart::LineUp;
    if (parts.lineDown.Contains(x, y)) return ScrollBarPart::LineDown;
    if (parts.thumb.Contains(x, y)) return ScrollBarPart::Thumb;
    if (parts.pageUp.Contains(x, y)) return ScrollBarPart::PageUp;
    if (parts.pageDown.Contains(x, y)) return ScrollBarPart::PageDown;
    return ScrollBarPart::None;
}

ThumbDrag BeginThumbDrag(const ScrollBarParts& parts, bool horizontal, int x, int y) {
    ThumbDrag drag;
    drag.grabOffset = horizontal ? x - parts.thumb.left : y - parts.thumb.top;
    return drag;
}

ThumbDragStep DragThumb(const ScrollBarParts& parts, bool horizontal, const ScrollRange& range,
                        const ThumbDrag& drag, int x, int y) {
    const ScrollBarParts p = horizontal ? Transposed(parts) : parts;
    const int along = horizontal ? x : y;
    const int across = horizontal ? y : x;

    ThumbDragStep step;
    step.thumb = parts.thumb;
    if (along < p.lineUp.bottom || along > p.lineDown.top) return step;
    if (across < p.track.left - kThumbDragSideLimit || across > p.track.right + kThumbDragSideLimit) return step;

    const int length = p.thumb.Height();
    const int lowest = std::max(p.track.top, p.track.bottom - length);
    const int top = std::max(p.track.top, std::min(along - drag.grabOffset, lowest));
    IntRect thumb = MakeRect(p.thumb.left, top, p.thumb.right, top + length);

    // A thumb as long as the track leaves no travel to divide by: it stands for the minimum.
    const int travel = p.track.Height() - length;
    const int span = range.maximum - range.page - range.minimum + 1;
    int position = 0;
    if (travel > 0 && span > 0) position = int(int64_t(top - p.track.top) * span / travel);

    step.follows = true;
    step.thumb = horizontal ? Transposed(thumb) : thumb;
    step.trackPosition = range.minimum + position;
    return step;
}

}  // namespace kestro
