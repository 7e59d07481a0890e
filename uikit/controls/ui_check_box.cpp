#include "uikit/controls/ui_check_box.h"

#include <string>

#include "uikit/skin/ui_resource.h"

namespace kestro {

UICheckBox::UICheckBox() { kind_ = kKindCheckBox; }

int UICheckBox::StyleIndex() const { return CheckBoxStyleIndex(box_.visual, box_.checked, IsEnabled()); }

void UICheckBox::Paint(HDC dc, const RECT& rect, const RECT& clip) {
    const int index = StyleIndex();
    PaintFace(dc, index, FaceFor(index));
}

LRESULT UICheckBox::MouseEnter(WPARAM, POINT) {
    if (CheckBoxEnter(box_, IsEnabled(), IsVisible())) Invalidate();
    Sync();
    return 0;
}

LRESULT UICheckBox::MouseLeave(WPARAM, POINT) {
    if (CheckBoxLeave(box_, IsEnabled(), IsVisible())) Invalidate();
    Sync();
    return 0;
}

LRESULT UICheckBox::MouseDown(WPARAM, POINT) {
    CheckBoxPress(box_);
    Sync();
    Invalidate();
    return 0;
}

LRESULT UICheckBox::MouseDblClk(WPARAM wParam, POINT point) { return UICheckBox::MouseDown(wParam, point); }

LRESULT UICheckBox::MouseUp(WPARAM, POINT) {
    if (!CheckBoxRelease(box_, IsEnabled(), IsVisible())) return 0;
    Sync();
    Invalidate();
    const WPARAM id = LOWORD(id_);
    if (parent_) {
        parent_->ChildNotify(this, WM_COMMAND, id, reinterpret_cast<LPARAM>(this));
    } else {
        SendToWindow(WM_COMMAND, id, reinterpret_cast<LPARAM>(GetRootWindow()));
    }
    return 0;
}

LRESULT UICheckBox::VisibleChanged(bool visible) {
    box_.visual = kVisualNormal;
    box_.armed = false;
    Sync();
    return 1;
}

void UICheckBox::SetCheck(bool checked) {
    box_.checked = checked;
    box_.visual = kVisualNormal;
    Sync();
    Invalidate();
}

bool UICheckBoxEx::Load(UIResource* resource, const char* path, const JValue* base) {
    if (!LoadButtonStyles(resource, path, base, "Unchecked/")) return false;
    const std::optional<JValue> node = resource->FindNode(path, base);
    for (int i = 0; i < kStateStyleCount; ++i) {
        const std::string name = std::string("Checked/") + kStateStyleNames[i];
        checkedImages_[i] = resource->GetImageStyle(name.c_str(), &*node);
    }
    return true;
}

int UICheckBoxEx::StyleIndex() const { return ButtonStyleIndex(box_.visual, IsEnabled()); }

const ImageStyle& UICheckBoxEx::FaceFor(int index) const {
    return box_.checked ? checkedImages_[index] : images_[index];
}

}  // namespace kestro
