#include "uikit/frame/cl_shadow_wnd.h"

#include "uikit/skin/ui_resource.h"
#include "uikit/window/ch_window.h"

namespace kestro {
namespace {

const char* ShadowStylePath(int side) {
    switch (side) {
        case kShadowLeft: return "/Meta/shadeleft";
        case kShadowTop: return "/Meta/shadetop";
        case kShadowRight: return "/Meta/shaderight";
        case kShadowBottom: return "/Meta/shadebottom";
        default: return nullptr;
    }
}

constexpr DWORD kShadowStyle = WS_POPUP | WS_CLIPSIBLINGS;
constexpr DWORD kShadowExStyle = WS_EX_TOOLWINDOW;

}  // namespace

CLShadwWnd::~CLShadwWnd() = default;

bool CLShadwWnd::LoadSide(UIResource* resource, const char* path, const JValue* base) {
    const char* stylePath = ShadowStylePath(side_);
    if (resource && stylePath) style_ = resource->GetImageStyle(stylePath, nullptr);
    return true;
}

void CLShadwWnd::Paint(HDC dc, const RECT& rect, const RECT& clip) { PaintImageStyle(rect_, style_, dc); }

bool CreateShadow(HWND owner, CLShadwWnd* shadow) {
    if (!shadow) return false;
    if (!shadow->Create(kShadowStyle, L"", kCHWindowClass, kShadowExStyle, 0, 0, owner, nullptr, 0, 0)) return false;
    shadow->SetLayered();
    shadow->LoadSide(GetCurrentSkin(), "", nullptr);
    return true;
}

void PlaceShadow(CLShadwWnd* shadow, int left, int top, int right, int bottom) {
    HWND window = shadow ? shadow->GetHwnd() : nullptr;
    if (!window || !IsWindow(window)) return;
    const int width = right - left;
    const int height = bottom - top;
    MoveWindow(window, left, top, width, height, IsWindowVisible(window));
    shadow->SetLayout(0, 0, width, height);
    shadow->SetRect(RECT{0, 0, width, height});
    shadow->Layout();
    shadow->SetEnabled(true);
    if (shadow->IsLayered() && !shadow->IsResizing()) {
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        UpdateLayeredWindow(window, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &blend, ULW_ALPHA);
    }
    ShowWindow(window, SW_SHOWNOACTIVATE);
    shadow->Invalidate();
}

bool DropShadows::Create(HWND owner) {
    bool all = true;
    for (int i = 0; i < 4; ++i) {
        if (shadows_[i]) continue;
        auto shadow = std::make_shared<CLShadwWnd>(i + 1);
        if (CreateShadow(owner, shadow.get())) {
            shadows_[i] = shadow;
        } else {
            all = false;
        }
    }
    return all;
}

void DropShadows::PlaceAround(int x, int y, int cx, int cy) {
    for (int i = 0; i < 4; ++i) {
        if (!shadows_[i]) continue;
        const IntRect r = ShadowRect(i + 1, x, y, cx, cy);
        PlaceShadow(shadows_[i].get(), r.left, r.top, r.right, r.bottom);
    }
}

void DropShadows::Follow(HWND owner, const WINDOWPOS& pos) {
    if (IsIconic(owner)) return;
    // A record that keeps the position or the size leaves those fields unset.
    RECT now{};
    GetWindowRect(owner, &now);
    int x = now.left, y = now.top, cx = now.right - now.left, cy = now.bottom - now.top;
    if (!(pos.flags & SWP_NOMOVE)) x = pos.x, y = pos.y;
    if (!(pos.flags & SWP_NOSIZE)) cx = pos.cx, cy = pos.cy;
    if (cx <= 0 || cy <= 0) return;
    PlaceAround(x, y, cx, cy);
}

void DropShadows::Destroy() {
    for (auto& shadow : shadows_) shadow.reset();
}

std::shared_ptr<CLShadwWnd> DropShadows::Get(int side) const {
    return side >= 1 && side <= 4 ? shadows_[side - 1] : nullptr;
}

}  // namespace kestro
