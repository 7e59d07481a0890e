#include "uikit/controls/ui_radio_box.h"

namespace kestro {

UIRadioBox::UIRadioBox() { kind_ = kKindRadioBox; }

LRESULT UIRadioBox::MouseEnter(WPARAM wParam, POINT point) {
    return locked_ ? 0 : UICheckBox::MouseEnter(wParam, point);
}

LRESULT UIRadioBox::MouseDown(WPARAM wParam, POINT point) {
    return locked_ ? 0 : UICheckBox::MouseDown(wParam, point);
}

LRESULT UIRadioBox::MouseUp(WPARAM, POINT) {
    if (locked_ || !RadioBoxRelease(box_, IsEnabled(), IsVisible())) return 0;
    Sync();
    UncheckSiblings();
    Invalidate();
    NotifyCommand();
    return 0;
}

void UIRadioBox::UncheckSiblings() {
    if (!parent_) return;
    for (UIObject* sibling : parent_->GetChildren()) {
        if (sibling == this || sibling->GetKind() != kKindRadioBox) continue;
        auto* radio = static_cast<UIRadioBox*>(sibling);
        if (!radio->GetCheck()) continue;
        radio->SetCheck(false);
    }
}

}  // namespace kestro
