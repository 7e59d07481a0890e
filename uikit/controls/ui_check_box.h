#pragma once
// Check boxes: one set of state styles whose pressed face shows the mark
// (UICheckBox), or separate Unchecked and Checked sets (UICheckBoxEx).
#include "uikit/controls/ui_button.h"

namespace kestro {

class UICheckBox : public UIButton {
public:
    UICheckBox();

    void Paint(HDC dc, const RECT& rect, const RECT& clip) override;
    LRESULT MouseEnter(WPARAM wParam, POINT point) override;
    LRESULT MouseLeave(WPARAM wParam, POINT point) override;
    LRESULT MouseDown(WPARAM wParam, POINT point) override;
    LRESULT MouseDblClk(WPARAM wParam, POINT point) override;
    LRESULT MouseUp(WPARAM wParam, POINT point) override;
    LRESULT VisibleChanged(bool visible) override;

    // Sets the mark without notifying; the face returns to normal.
    void SetCheck(bool checked);
    bool GetCheck() const { return box_.checked; }

protected:
    int StyleIndex() const override;
    // The image style painted for a style index.
    virtual const ImageStyle& FaceFor(int index) const { return images_[index]; }
    void Sync() { state_ = box_.visual; }

    CheckBoxState box_;
};

class UICheckBoxEx : public UICheckBox {
public:
    bool Load(UIResource* resource, const char* path, const JValue* base) override;

protected:
    int StyleIndex() const override;
    const ImageStyle& FaceFor(int index) const override;

    ImageStyle checkedImages_[kStateStyleCount];
};

}  // namespace kestro
