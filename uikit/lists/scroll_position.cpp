#include "uikit/lists/scroll_position.h"

#include <algorithm>

namespace kestro {
namespace {

int Clamp(const ScrollRange& range, int position) {
    return std::max(range.minimum, std::min(position, LastScrollPosition(range)));
}

}  // namespace

int LastScrollPosition(const ScrollRange& range) {
    return std::max(range.minimum, range.maximum + 1 - range.page);
}

int ScrollPositionForCode(const ScrollRange& range, int code, int trackPosition) {
    switch (code) {
        case kScrollLineUp: return Clamp(range, range.position - 1);
        case kScrollLineDown: return Clamp(range, range.position + 1);
        case kScrollPageUp: return Clamp(range, range.position - range.page);
        case kScrollPageDown: return Clamp(range, range.position + range.page);
        case kScrollTop: return range.minimum;
        case kScrollBottom: return LastScrollPosition(range);
        default: return Clamp(range, trackPosition);
    }
}

int ScrollPositionForWheel(const ScrollRange& range, int wheelDelta) {
    if (range.maximum - range.minimum - range.page <= kWheelScrollThreshold) return range.position;
    const int step = range.page / 8;
    return Clamp(range, wheelDelta < 0 ? range.position + step : range.position - step);
}

}  // namespace kestro
