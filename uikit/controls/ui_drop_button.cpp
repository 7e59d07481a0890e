#include "uikit/controls/ui_drop_button.h"

namespace kestro {

UIDropButton::UIDropButton() { kind_ = kKindDropButton; }

bool UIDropButton::Load(UIResource* resource, const char* path, const JValue* base) {
    const bool loaded = UIButton::Load(resource, path, base);
    for (TextStyle& text : texts_) text.align = kDropButtonTextAlign;
    return loaded;
}

LRESULT UIDropButton::MouseDown(WPARAM, POINT) {
    state_ = kVisualPressed;
    Invalidate();
    return 0;
}

LRESULT UIDropButton::MouseUp(WPARAM, POINT) {
    dropping_ = true;
    Drop();
    dropping_ = false;
    POINT cursor{};
    GetCursorPos(&cursor);
    HWND root = GetRootWindow();
    if (root) ScreenToClient(root, &cursor);
    state_ = PtInRect(&rect_, cursor) ? kVisualLighted : kVisualNormal;
    Invalidate();
    return 0;
}

LRESULT UIDropButton::MouseLeave(WPARAM wParam, POINT point) {
    // The pop-up takes the pointer away while it is open; the button stays pressed.
    if (dropping_) return 0;
    return UIButton::MouseLeave(wParam, point);
}

void UIDropButton::Drop() {
    HWND root = GetRootWindow();
    if (root) SendMessageW(root, WM_COMMAND, LOWORD(id_), 0);
}

}  // namespace kestro
