#pragma once
#include "uikit/geometry/int_rect.h"

namespace kestro {

// Hit-test results the frame produces (the system's HT* values).
enum FrameHit {
    kHitCaption = 2,
    kHitLeft = 10,
    kHitRight = 11,
    kHitTop = 12,
    kHitTopLeft = 13,
    kHitTopRight = 14,
    kHitBottom = 15,
    kHitBottomLeft = 16,
    kHitBottomRight = 17,
};

// Size of the sizing corners and of the top sizing strip of a resizable frame.
constexpr int kFrameCornerSize = 4;
constexpr int kFrameTopSizingRows = 2;

struct FrameThickness {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct FrameSides {
    IntRect client;
    IntRect top;
    IntRect left;
    IntRect right;
    IntRect bottom;
};

// Places the client area and the four painted sides in a window of width x height.
FrameSides LayoutFrame(int width, int height, const FrameThickness& thickness);

// The hit-test code for a point in client coordinates. overSolidChild: the point
// lies over a child control that takes clicks itself. defaultResult is what the
// system answered.
int FrameHitTest(const FrameSides& sides, bool resizable, int x, int y, bool overSolidChild, int defaultResult);

// Drop shadow sides, as the shadow windows know them.
enum ShadowSide { kShadowLeft = 1, kShadowTop = 2, kShadowRight = 3, kShadowBottom = 4 };

// Reach of the shipped shadow images beyond the owner's edges.
constexpr int kShadowSideReach = 27;
constexpr int kShadowTopReach = 22;
constexpr int kShadowBottomReach = 32;

// The screen rectangle of one shadow around an owner at (x, y) of size cx x cy;
// empty for an unknown side.
IntRect ShadowRect(int side, int x, int y, int cx, int cy);

}  // namespace kestro
