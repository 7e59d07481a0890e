#include "uikit/lists/ui_scroll_bar.h"

#include <windowsx.h>

#include "uikit/lists/scroll_position.h"
#include "uikit/skin/ui_resource.h"

namespace kestro {
namespace {

IntRect ToIntRect(const RECT& r) { return MakeRect(r.left, r.top, r.right, r.bottom); }
RECT ToRect(const IntRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

bool UIScrollBar::Load(UIResource* resource, const char* path, const JValue* base) {
    if (!resource) return false;
    const std::optional<JValue> node = resource->FindNode(path, base);
    if (!node) return false;
    thumb_ = resource->GetImageStyle("thumb", &*node);
    trackbar_ = resource->GetImageStyle("trackbar", &*node);
    return true;
}

void UIScrollBar::ComputeParts() {
    parts_ = ComputeScrollBar(ToIntRect(rect_), horizontal_, range_, minThumb_, parts_.thumb);
}

void UIScrollBar::Layout() {
    UIObject::Layout();
    ComputeParts();
}

void UIScrollBar::SetRange(int minimum, int maximum, int page) {
    range_.minimum = minimum;
    range_.maximum = maximum;
    range_.page = page;
    ComputeParts();
    Invalidate();
}

void UIScrollBar::SetPosition(int position) {
    range_.position = position;
    ComputeParts();
    Invalidate();
}

void UIScrollBar::Paint(HDC dc, const RECT& rect, const RECT& clip) {
    PaintImageStyle(ToRect(parts_.track), trackbar_, dc);
    PaintImageStyle(ToRect(parts_.thumb), thumb_, dc);
}

void UIScrollBar::Notify(int code) {
    if (parent_) parent_->ChildNotify(this, horizontal_ ? WM_HSCROLL : WM_VSCROLL, WPARAM(code), 0);
}

LRESULT UIScrollBar::MouseDown(WPARAM, POINT point) {
    switch (HitTestScrollBar(parts_, point.x, point.y)) {
        case ScrollBarPart::LineUp: Notify(kScrollLineUp); break;
        case ScrollBarPart::LineDown: Notify(kScrollLineDown); break;
        case ScrollBarPart::PageUp: Notify(kScrollPageUp); break;
        case ScrollBarPart::PageDown: Notify(kScrollPageDown); break;
        case ScrollBarPart::Thumb: RunThumbDrag(point); break;
        case ScrollBarPart::None: break;
    }
    return 0;
}

void UIScrollBar::RunThumbDrag(POINT start) {
    HWND root = GetRootWindow();
    if (!root) return;
    const ThumbDrag drag = BeginThumbDrag(parts_, horizontal_, start.x, start.y);
    lastReported_ = -1;
    SetCapture(root);
    MSG msg;
    bool dragging = true;
    while (dragging && GetCapture() == root) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(int(msg.wParam));
            break;
        }
        switch (msg.message) {
            case WM_MOUSEMOVE: {
                POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
                if (msg.hwnd != root) MapWindowPoints(msg.hwnd, root, &p, 1);
                const ThumbDragStep step = DragThumb(parts_, horizontal_, range_, drag, p.x, p.y);
                if (!step.follows) break;
                parts_.thumb = step.thumb;
                trackPosition_ = step.trackPosition;
                if (trackPosition_ != lastReported_) {
                    lastReported_ = trackPosition_;
                    Notify(int((unsigned(trackPosition_) << 16) | kScrollThumbTrack));
                }
                Invalidate();
                break;
            }
            case WM_LBUTTONUP: dragging = false; break;
            case WM_KEYDOWN:
                if (msg.wParam == VK_ESCAPE) dragging = false;
                break;
            default:
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
                break;
        }
    }
    if (GetCapture() == root) ReleaseCapture();
    Invalidate();
}

}  // namespace kestro
