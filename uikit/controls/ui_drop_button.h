#pragma once
// A button that drops something (a pop-up menu) from its owner while it stays pressed.
#include "uikit/controls/ui_button.h"

namespace kestro {

// Text layout of a drop button's caption: left, vertically centred, one line, ellipsis.
constexpr uint32_t kDropButtonTextAlign = 0x40024;

class UIDropButton : public UIButton {
public:
    UIDropButton();

    bool Load(UIResource* resource, const char* path, const JValue* base) override;
    LRESULT MouseDown(WPARAM wParam, POINT point) override;
    LRESULT MouseUp(WPARAM wParam, POINT point) override;
    LRESULT MouseLeave(WPARAM wParam, POINT point) override;

    // Sends WM_COMMAND (id, 0) to the root window; returns once the owner is done.
    virtual void Drop();
    bool IsDropping() const { return dropping_; }

private:
    bool dropping_ = false;
};

}  // namespace kestro
