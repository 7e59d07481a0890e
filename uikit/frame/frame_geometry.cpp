#include "uikit/frame/frame_geometry.h"

namespace kestro {

FrameSides LayoutFrame(int width, int height, const FrameThickness& t) {
    FrameSides s;
    s.client = MakeRect(t.left, t.top, width - t.right, height - t.bottom);
    s.top = MakeRect(0, 0, width, t.top);
    s.left = MakeRect(0, t.top, t.left, height - t.bottom);
    s.right = MakeRect(width - t.right, t.top, width, height - t.bottom);
    s.bottom = MakeRect(0, height - t.bottom, width, height);
    return s;
}

int FrameHitTest(const FrameSides& s, bool resizable, int x, int y, bool overSolidChild, int defaultResult) {
    if (!resizable) {
        return s.top.Contains(x, y) && !overSolidChild ? int(kHitCaption) : defaultResult;
    }
    if (s.top.Contains(x, y)) {
        if (overSolidChild) return defaultResult;
        const bool cornerRows = y < s.top.top + kFrameCornerSize;
        if (cornerRows && x < s.top.left + kFrameCornerSize) return kHitTopLeft;
        if (cornerRows && x >= s.top.right - kFrameCornerSize) return kHitTopRight;
        if (y < s.top.top + kFrameTopSizingRows) return kHitTop;
        return kHitCaption;
    }
    if (s.left.Contains(x, y)) return y >= s.left.bottom - kFrameCornerSize ? kHitBottomLeft : kHitLeft;
    if (s.right.Contains(x, y)) return y >= s.right.bottom - kFrameCornerSize ? kHitBottomRight : kHitRight;
    if (s.bottom.Contains(x, y)) {
        if (x < s.bottom.left + kFrameCornerSize) return kHitBottomLeft;
        if (x >= s.bottom.right - kFrameCornerSize) return kHitBottomRight;
        return kHitBottom;
    }
    return defaultResult;
}

IntRect ShadowRect(int side, int x, int y, int cx, int cy) {
    switch (side) {
        case kShadowLeft: return MakeRect(x - kShadowSideReach, y, x, y + cy);
        case kShadowTop: return MakeRect(x - kShadowSideReach, y - kShadowTopReach, x + cx + kShadowSideReach, y);
        case kShadowRight: return MakeRect(x + cx, y, x + cx + kShadowSideReach, y + cy);
        case kShadowBottom:
            return MakeRect(x - kShadowSideReach, y + cy, x + cx + kShadowSideReach, y + cy + kShadowBottomReach);
        default: return IntRect();
    }
}

}  // namespace kestro
