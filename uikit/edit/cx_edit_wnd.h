#pragma once
// The native edit window a CXEditCtrl shows while it has the focus.
#include <windows.h>

#include "uikit/window/ch_window.h"

namespace kestro {

class CXEditCtrl;

class CXEditWnd : public CHWindow {
public:
    explicit CXEditWnd(CXEditCtrl* owner) : owner_(owner) {}

    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override { return 0; }
    LRESULT OnKillFocus(WPARAM wParam, LPARAM lParam) override;
    void OnDetached() override;

    void SetActive(bool active) { active_ = active; }
    bool IsActive() const { return active_; }

private:
    CXEditCtrl* owner_;
    bool active_ = false;
};

}  // namespace kestro
