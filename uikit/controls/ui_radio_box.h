#pragma once
// A radio box: a check box that only becomes checked by a click and then unchecks
// the radio boxes beside it.
#include "uikit/controls/ui_check_box.h"

namespace kestro {

class UIRadioBox : public UICheckBox {
public:
    UIRadioBox();

    LRESULT MouseEnter(WPARAM wParam, POINT point) override;
    LRESULT MouseDown(WPARAM wParam, POINT point) override;
    LRESULT MouseUp(WPARAM wParam, POINT point) override;

    // A locked radio box ignores the pointer.
    void SetLocked(bool locked) { locked_ = locked; }
    bool IsLocked() const { return locked_; }
    void UncheckSiblings();

private:
    bool locked_ = false;
};

}  // namespace kestro
