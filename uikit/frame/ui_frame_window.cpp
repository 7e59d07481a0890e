#include "uikit/frame/ui_frame_window.h"

#include <windowsx.h>

#include <string>

#include "services/win/unique_handle.h"
#include "uikit/controls/ui_button.h"
#include "uikit/skin/ch_bitmap.h"
#include "uikit/skin/ui_resource.h"

namespace kestro {
namespace {

const char* const kSideNames[UIFrameWindow::kSideCount] = {"Top", "Left", "Right", "Bottom"};
const char* const kSysButtonPaths[UIFrameWindow::kSysButtonCount] = {"SysBtns/Close", "SysBtns/Restore",
                                                                     "SysBtns/Maximize", "SysBtns/Minimize"};
const WPARAM kSysButtonCommands[UIFrameWindow::kSysButtonCount] = {SC_CLOSE, SC_RESTORE, SC_MAXIMIZE, SC_MINIMIZE};

RECT ToRect(const IntRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
IntRect ToIntRect(const RECT& r) { return MakeRect(r.left, r.top, r.right, r.bottom); }

}  // namespace

UIFrameWindow::UIFrameWindow() { kind_ = kKindFrameWindow; }

UIFrameWindow::~UIFrameWindow() = default;

bool UIFrameWindow::Load(UIResource* resource, const char* path, const JValue* base) {
    if (!resource) return false;
    const std::optional<JValue> node = resource->FindNode(path, base);
    if (!node) return false;
    clientStyle_ = resource->GetImageStyle("Client/bkgnd", &*node);
    for (int i = 0; i < kSideCount; ++i) {
        const std::string side = std::string("Frames/") + kSideNames[i];
        sides_[i].normal = resource->GetImageStyle((side + "/normal").c_str(), &*node);
        sides_[i].grayed = resource->GetImageStyle((side + "/grayed").c_str(), &*node);
    }
    for (int i = 0; i < kSysButtonCount; ++i) {
        if (sysButtons_[i] || !resource->FindNode(kSysButtonPaths[i], &*node)) continue;
        auto* button = new UIButton();
        button->Load(resource, kSysButtonPaths[i], &*node);
        AddChild(button);
        sysButtons_[i] = button;
        if (i == kSysRestore) button->SetVisible(false);
    }
    Resized();
    return true;
}

void UIFrameWindow::Resized() {
    FrameThickness t;
    t.left = sides_[kSideLeft].normal.w;
    t.top = sides_[kSideTop].normal.h;
    t.right = sides_[kSideRight].normal.w;
    t.bottom = sides_[kSideBottom].normal.h;
    const FrameSides s = LayoutFrame(rect_.right - rect_.left, rect_.bottom - rect_.top, t);
    client_ = ToRect(s.client);
    sides_[kSideTop].rect = ToRect(s.top);
    sides_[kSideLeft].rect = ToRect(s.left);
    sides_[kSideRight].rect = ToRect(s.right);
    sides_[kSideBottom].rect = ToRect(s.bottom);
    UpdateRegion();
}

void UIFrameWindow::UpdateRegion() {
    if (neverShown_ || !hwnd_ || !IsWindow(hwnd_)) return;
    if (layered_) {
        SetWindowRgn(hwnd_, nullptr, FALSE);
        return;
    }
    const int w = rect_.right - rect_.left;
    const int h = rect_.bottom - rect_.top;
    UniqueRegion region(CreateRectRgn(0, 0, w + 1, h + 1));
    if (!region) return;

    struct Corner {
        int width, height, x, y;
    };
    const ImageStyle& top = sides_[kSideTop].normal;
    const ImageStyle& bottom = sides_[kSideBottom].normal;
    const Corner corners[] = {
        {top.marginLeft, top.marginTop, 0, 0},
        {top.marginRight, top.marginTop, w - top.marginRight, 0},
        {bottom.marginLeft, bottom.marginBottom, 0, h - bottom.marginBottom},
        {bottom.marginRight, bottom.marginBottom, w - bottom.marginRight, h - bottom.marginBottom},
    };
    HDC buffer = nullptr;
    for (const Corner& c : corners) {
        if (c.width <= 0 || c.height <= 0) continue;
        if (!buffer) {
            // The corners' magenta pixels come from the frame as it is painted now.
            buffer = GetMemDC();
            if (!buffer) break;
            Paint(buffer, rect_, rect_);
            PaintChildren(buffer, rect_);
        }
        CHBitmap piece;
        if (!piece.Create(c.width, c.height, 24)) continue;
        HDC pieceDc = piece.AcquireDc();
        BitBlt(pieceDc, 0, 0, c.width, c.height, buffer, c.x, c.y, SRCCOPY);
        piece.ReleaseDc();
        UniqueRegion magenta(RegionFromMagenta(piece));
        if (!magenta) continue;
        OffsetRgn(magenta.get(), c.x, c.y);
        CombineRgn(region.get(), region.get(), magenta.get(), RGN_DIFF);
    }
    // The window owns the region from here on.
    if (SetWindowRgn(hwnd_, region.get(), FALSE)) region.release();
}

void UIFrameWindow::Paint(HDC dc, const RECT& rect, const RECT& clip) {
    PaintImageStyle(client_, clientStyle_, dc);
    for (const FrameSide& side : sides_) PaintImageStyle(side.rect, side.normal, dc);
}

bool UIFrameWindow::OverSolidChild(POINT point) const {
    for (const UIObject* o = ChildAt(point); o; o = o->ChildAt(point)) {
        if (!o->IsHitThrough()) return true;
    }
    return false;
}

LRESULT UIFrameWindow::OnNcHitTest(WPARAM wParam, LPARAM lParam) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(hwnd_, &point);
    const LRESULT fallback = UIObject::OnNcHitTest(wParam, lParam);
    FrameSides s;
    s.client = ToIntRect(client_);
    s.top = ToIntRect(sides_[kSideTop].rect);
    s.left = ToIntRect(sides_[kSideLeft].rect);
    s.right = ToIntRect(sides_[kSideRight].rect);
    s.bottom = ToIntRect(sides_[kSideBottom].rect);
    const bool resizable = (GetWindowLongW(hwnd_, GWL_STYLE) & WS_THICKFRAME) != 0;
    return FrameHitTest(s, resizable, point.x, point.y, OverSolidChild(point), int(fallback));
}

LRESULT UIFrameWindow::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
    // The client area covers the whole window, from creation on (when the system
    // asks without the position record) as after every move.
    RECT proposed{};
    if (!wParam && lParam) proposed = *reinterpret_cast<RECT*>(lParam);
    const LRESULT result = UIObject::OnNcCalcSize(wParam, lParam);
    if (wParam) {
        auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        const WINDOWPOS* pos = params->lppos;
        if (pos) params->rgrc[0] = RECT{pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy};
    } else if (lParam) {
        *reinterpret_cast<RECT*>(lParam) = proposed;
    }
    return result;
}

LRESULT UIFrameWindow::OnCreate(WPARAM wParam, LPARAM lParam) {
    const LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
    if (style & WS_CAPTION) SetWindowLongW(hwnd_, GWL_STYLE, style & ~WS_CAPTION);
    // The tree is laid out from the first client rectangle, not only after a resize.
    GetClientRect(hwnd_, &rect_);
    UIObject::OnCreate(wParam, lParam);
    return 0;
}

LRESULT UIFrameWindow::OnSysCommand(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = UIObject::OnSysCommand(wParam, lParam);
    UIButton* maximize = sysButtons_[kSysMaximize];
    UIButton* restore = sysButtons_[kSysRestore];
    if (maximize && hwnd_ && IsWindow(hwnd_)) {
        if (IsZoomed(hwnd_)) {
            if (maximize->IsVisible()) maximize->SetVisible(false);
            if (restore) restore->SetVisible(true);
        } else {
            if (restore && restore->IsVisible()) restore->SetVisible(false);
            if (!maximize->IsVisible()) maximize->SetVisible(true);
        }
    }
    return result;
}

LRESULT UIFrameWindow::ChildNotify(UIObject* sender, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COMMAND || !hwnd_) return 0;
    for (int i = 0; i < kSysButtonCount; ++i) {
        if (sender && sender == sysButtons_[i]) {
            SendMessageW(hwnd_, WM_SYSCOMMAND, kSysButtonCommands[i], 0);
            return 0;
        }
    }
    return 0;
}

}  // namespace kestro
