#include "uikit/edit/cx_edit_wnd.h"

#include "uikit/edit/cx_edit_ctrl.h"

namespace kestro {

LRESULT CXEditWnd::OnKillFocus(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CHWindow::OnKillFocus(wParam, lParam);
    if (active_) {
        // The typed text flows back into the control and the window goes.
        active_ = false;
        if (owner_) owner_->PullText();
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    }
    return result;
}

void CXEditWnd::OnDetached() {
    if (owner_) owner_->NativeWindowGone(this);
}

}  // namespace kestro
