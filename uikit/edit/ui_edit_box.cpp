#include "uikit/edit/ui_edit_box.h"

#include "uikit/controls/skin_reading.h"
#include "uikit/lists/scroll_position.h"
#include "uikit/skin/ui_resource.h"

namespace kestro {
namespace {

constexpr int kMeasureHeight = 1 << 20;

}  // namespace

UIEditBox::UIEditBox() {
    kind_ = kKindEditBox;
    scrollBar_ = new UIScrollBar();
    scrollBar_->SetMinThumbLength(kEditBoxMinThumb);
    AddChild(scrollBar_);
    scrollBar_->SetVisible(false);
}

bool UIEditBox::Load(UIResource* resource, const char* path, const JValue* base) {
    std::optional<JValue> node;
    if (!LoadIdAndSize(resource, path, base, *this, node)) return false;
    bkgnd_ = resource->GetImageStyle("bkgnd", &*node);
    if (const std::optional<JValue> text = resource->FindNode("Text", &*node)) {
        const std::array<int, 4> margin = resource->GetRect("margin", &*text);
        margin_ = RECT{margin[0], margin[1], margin[2], margin[3]};
        normal_ = resource->GetTextStyle("normal", &*text);
        grayed_ = resource->GetTextStyle("grayed", &*text);
    }
    if (resource->FindNode("ScrollBar", &*node)) scrollBar_->Load(resource, "ScrollBar", &*node);
    return true;
}

RECT UIEditBox::TextBox() const {
    return RECT{textRect_.left + margin_.left, textRect_.top + margin_.top, textRect_.right - margin_.right,
                textRect_.bottom - margin_.bottom};
}

void UIEditBox::Layout() {
    UIObject::Layout();
    if (IsRectEmpty(&rect_)) return;
    textRect_ = rect_;
    if (!scrolling_ || !scrollBar_->IsVisible()) return;
    const int barWidth = scrollBar_->TrackImageWidth();
    textRect_.right = rect_.right - barWidth;
    scrollBar_->SetPos(barWidth, rect_.bottom - rect_.top, textRect_.right - rect_.left, 0);
    const RECT box = TextBox();
    // Measured in a box of the text's width but unbounded height: the visible box
    // would cut the measure at its own height and nothing would ever scroll.
    RECT unbounded = box;
    unbounded.bottom = unbounded.top + kMeasureHeight;
    HDC dc = GetMemDC();
    const SIZE measured = dc ? MeasureTextStyle(dc, normal_, unbounded, text_.c_str()) : SIZE{0, 0};
    scrollBar_->SetRange(0, measured.cy, box.bottom - box.top);
    ScrollTo(scrollBar_->GetRange().position);
}

void UIEditBox::Paint(HDC dc, const RECT& rect, const RECT& clip) {
    PaintImageStyle(rect_, bkgnd_, dc);
    if (text_.empty()) return;
    const RECT box = TextBox();
    RECT moved = box;
    OffsetRect(&moved, 0, -scrollOffset_);
    DrawTextStyle(moved, text_.c_str(), dc, &box, normal_);
}

void UIEditBox::ScrollTo(int position) {
    const ScrollRange& r = scrollBar_->GetRange();
    const int last = LastScrollPosition(r);
    const int clamped = position < r.minimum ? r.minimum : (position > last ? last : position);
    scrollBar_->SetPosition(clamped);
    scrollOffset_ = clamped;
    Invalidate();
}

LRESULT UIEditBox::ChildNotify(UIObject* sender, UINT message, WPARAM wParam, LPARAM lParam) {
    if (sender == scrollBar_ && message == WM_VSCROLL) {
        ScrollTo(ScrollPositionForCode(scrollBar_->GetRange(), LOWORD(wParam), scrollBar_->GetTrackPosition()));
        return 0;
    }
    return UIObject::ChildNotify(sender, message, wParam, lParam);
}

LRESULT UIEditBox::MouseWheel(WORD keys, short delta, POINT point) {
    if (!scrolling_) return 0;
    ScrollTo(ScrollPositionForWheel(scrollBar_->GetRange(), delta));
    return 0;
}

void UIEditBox::SetText(const wchar_t* text) {
    text_ = text ? text : L"";
    Layout();
    Invalidate();
}

void UIEditBox::SetScrolling(bool on) {
    scrolling_ = on;
    if (!on) scrollOffset_ = 0;
    scrollBar_->SetVisible(on);
    Layout();
    Invalidate();
}

}  // namespace kestro
