#pragma once
// The skinned top-level window: no system caption or border, the whole window is
// client area painted from the skin, its own system buttons, and hit-testing that
// turns the painted title strip into a caption (and the edges into sizing borders).
#include <windows.h>

#include "uikit/frame/frame_geometry.h"
#include "uikit/object/ui_object.h"
#include "uikit/skin/painters.h"

namespace kestro {

class UIButton;

class UIFrameWindow : public UIObject {
public:
    enum Side { kSideTop, kSideLeft, kSideRight, kSideBottom, kSideCount };
    enum SysButton { kSysClose, kSysRestore, kSysMaximize, kSysMinimize, kSysButtonCount };

    UIFrameWindow();
    ~UIFrameWindow() override;

    LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam) override { return 0; }
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam) override { return 1; }
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc, const RECT& rect, const RECT& clip) override;
    bool Load(UIResource* resource, const char* path, const JValue* base) override;
    LRESULT ChildNotify(UIObject* sender, UINT message, WPARAM wParam, LPARAM lParam) override;
    void Resized() override;

    // For a window that is never shown (a quiet run): its region, which is made by
    // painting the whole frame, is not made at all.
    void SetNeverShown() { neverShown_ = true; }

    UIButton* GetSysButton(SysButton which) const { return sysButtons_[which]; }
    const RECT& GetClientArea() const { return client_; }
    const RECT& GetSideRect(Side side) const { return sides_[side].rect; }

private:
    struct FrameSide {
        ImageStyle normal;
        ImageStyle grayed;  // loaded for a frame of an inactive window; not painted
        RECT rect{0, 0, 0, 0};
    };

    bool OverSolidChild(POINT point) const;
    void UpdateRegion();

    ImageStyle clientStyle_;
    RECT client_{0, 0, 0, 0};
    FrameSide sides_[kSideCount];
    UIButton* sysButtons_[kSysButtonCount] = {nullptr, nullptr, nullptr, nullptr};  // children, owned by the tree
    bool neverShown_ = false;
};

}  // namespace kestro
