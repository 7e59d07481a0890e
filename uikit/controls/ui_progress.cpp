#include "uikit/controls/ui_progress.h"

#include "uikit/controls/control_metrics.h"
#include "uikit/controls/skin_reading.h"
#include "uikit/skin/ui_resource.h"

namespace kestro {

UIProgress::UIProgress() { kind_ = kKindProgress; }

bool UIProgress::Load(UIResource* resource, const char* path, const JValue* base) {
    std::optional<JValue> node;
    if (!LoadIdAndSize(resource, path, base, *this, node)) return false;
    bkgnd_ = resource->GetImageStyle("bkgnd", &*node);
    frgnd_ = resource->GetImageStyle("frgnd", &*node);
    return true;
}

int UIProgress::FillWidth() const {
    return ProgressFillWidth(rect_.right - rect_.left, position_, minimum_, maximum_);
}

void UIProgress::Paint(HDC dc, const RECT& rect, const RECT& clip) {
    PaintImageStyle(rect_, bkgnd_, dc);
    if (minimum_ >= maximum_) return;
    const RECT fill{rect_.left, rect_.top, rect_.left + FillWidth(), rect_.bottom};
    PaintImageStyle(fill, frgnd_, dc);
}

void UIProgress::SetProgressPos(int position) {
    position_ = position;
    Invalidate();
}

void UIProgress::SetRangeDefault() { SetRange(0, 100); }

void UIProgress::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    Invalidate();
}

}  // namespace kestro
