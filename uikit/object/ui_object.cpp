#include "ui_object.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "services/win/unique_handle.h"
#include "uikit/core/layout.h"
#include "uikit/core/ui_messages.h"
#include "uikit/skin/toolkit_fonts.h"

namespace kestro {
namespace {

// TTTOOLINFOW up to lParam: the record size every comctl32 version accepts.
constexpr UINT kToolInfoSize = 44;

IntRect BoxOf(const RECT& r) { return IntRect{r.left, r.top, r.right, r.bottom}; }
bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

UIObject::UIObject() {
    // The text fonts of the toolkit exist from the first object on.
    ToolkitNormalFont();
    ToolkitBoldFont();
}

UIObject::~UIObject() {
    // Each child unlinks itself (and drops the tree's pointers to it) as it goes.
    const std::vector<UIObject*> children = children_;
    for (UIObject* child : children) delete child;
    children_.clear();
    if (parent_) parent_->Forget(this);
    if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
    if (hwnd_ && IsWindow(hwnd_))
        for (const auto& timer : timers_) KillTimer(hwnd_, timer.first);
    timers_.clear();
    ReleaseBackBuffer();
    if (hwnd_ && IsWindow(hwnd_)) {
        // Unbound first: the window's last messages must not reach a half-destroyed object.
        HWND window = Detach();
        DestroyWindow(window);
    }
}

// Drops every reference the tree keeps to an object that goes away.
void UIObject::Forget(UIObject* gone) {
    children_.erase(std::remove(children_.begin(), children_.end(), gone), children_.end());
    for (UIObject* o = this; o; o = o->parent_) {
        if (o->hoverChild_ == gone) o->hoverChild_ = nullptr;
        if (o->focus_ == gone) o->focus_ = nullptr;
        for (auto it = o->timers_.begin(); it != o->timers_.end();) {
            if (it->second == gone) {
                if (o->hwnd_ && IsWindow(o->hwnd_)) KillTimer(o->hwnd_, it->first);
                it = o->timers_.erase(it);
            } else {
                ++it;
            }
        }
    }
}

UIObject* UIObject::GetRootObject() {
    UIObject* o = this;
    while (!o->hwnd_ && o->parent_) o = o->parent_;
    return o;
}

UIObject* UIObject::DeepestHovered() const {
    const UIObject* o = this;
    while (o->hoverChild_) o = o->hoverChild_;
    return o == this ? nullptr : const_cast<UIObject*>(o);
}

UIObject* UIObject::ChildAt(POINT point) const {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it)
        if ((*it)->visible_ && PtInRect(&(*it)->rect_, point)) return *it;
    return nullptr;
}

HWND UIObject::GetRootWindow() {
    if (hwnd_) return hwnd_;
    return parent_ ? parent_->GetRootWindow() : nullptr;
}

HDC UIObject::GetMemDC() {
    if (!hwnd_) return parent_ ? parent_->GetMemDC() : nullptr;
    return EnsureBackBuffer() ? memDc_.get() : nullptr;
}

void UIObject::Layout() {
    if (!parent_ || width_ <= 0 || height_ <= 0 || SameRect(rect_, parent_->rect_)) return;
    const IntRect box = LayoutChild(BoxOf(parent_->rect_), x_, y_, width_, height_, anchorMode_);
    rect_ = RECT{box.left, box.top, box.right, box.bottom};
    for (UIObject* child : children_)
        if (child->width_ > 0 && child->height_ > 0) child->Layout();
    UpdateTooltipRect(visible_ != 0);
}

void UIObject::AddChild(UIObject* child) {
    if (!child) return;
    child->parent_ = this;
    children_.push_back(child);
    child->Layout();
    for (UIObject* grandchild : child->children_)
        if (grandchild->width_ > 0 && grandchild->height_ > 0) grandchild->Layout();
}

void UIObject::SetPos(int width, int height, int x, int y) {
    const RECT old = rect_;
    x_ = x, y_ = y;
    if (width >= 0) width_ = width;
    if (height >= 0) height_ = height;
    if (width_ > 0 && height_ > 0) Layout();
    // The area left behind needs repainting as well as the new one.
    if (!SameRect(old, rect_) && !IsRectEmpty(&old) && parent_) parent_->Invalidate(&old, false);
    Invalidate();
}

void UIObject::SetVisible(bool visible) {
    if ((visible_ != 0) == visible) return;
    visible_ = visible;
    VisibleChanged(visible);
    if (visible) {
        Invalidate();
    } else if (parent_) {
        parent_->Invalidate(&rect_, false);
    } else {
        Invalidate();
    }
    UpdateTooltipRect(visible);
}

void UIObject::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Invalidate();
}

void UIObject::SetBackgroundBrush(HBRUSH brush) {
    if (memDc_ && brush) SelectObject(memDc_.get(), brush);
    background_.reset(brush);
}

void UIObject::SetTooltipWindow(HWND tooltip) {
    if (tooltip_ && tooltip_ != tooltip && IsWindow(tooltip_)) DestroyWindow(tooltip_);
    tooltip_ = tooltip;
}

void UIObject::UpdateTooltipRect(bool shown) {
    if (hasTooltip_) {
        UIObject* root = GetRootObject();
        if (root->hwnd_ && root->tooltip_) {
            TOOLINFOW info{};
            info.cbSize = kToolInfoSize;
            info.hwnd = root->hwnd_;
            info.uId = reinterpret_cast<UINT_PTR>(this);
            info.rect = shown ? rect_ : RECT{-1, -1, 0, 0};
            SendMessageW(root->tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
        }
    }
    for (UIObject* child : children_) child->UpdateTooltipRect(shown && child->visible_);
}

void UIObject::Invalidate(const RECT* rect, bool erase) {
    if (!hwnd_) {
        if (parent_) parent_->Invalidate(rect ? rect : &rect_, erase);
        return;
    }
    if (!IsWindowVisible(hwnd_) || resizing_) return;
    if (layered_) {
        SendMessageTimeoutW(hwnd_, UIM_LAYEREDPAINT, reinterpret_cast<WPARAM>(rect), 0, SMTO_BLOCK, 0, nullptr);
    } else {
        InvalidateRect(hwnd_, rect, erase);
    }
}

void UIObject::ReleaseBackBuffer() {
    if (memDc_ && previousBitmap_) SelectObject(memDc_.get(), previousBitmap_);
    memDc_.reset();
    buffer_.reset();
    previousBitmap_ = nullptr;
    bufferBits_ = nullptr;
    bufferImageSize_ = 0;
    bufferStride_ = bufferWidth_ = bufferHeight_ = 0;
    bufferIsDib_ = false;
}

bool UIObject::EnsureBackBuffer() {
    if (!hwnd_) return false;
    const int w = rect_.right - rect_.left, h = rect_.bottom - rect_.top;
    if (memDc_ && buffer_ && w == bufferWidth_ && h == bufferHeight_ && bufferIsDib_ == layered_) return true;
    if (w <= 0 || h <= 0) return false;
    ScopedWindowDc windowDc(hwnd_);
    if (!memDc_) {
        memDc_.reset(CreateCompatibleDC(windowDc.get()));
        if (!memDc_) return false;
        SetBkMode(memDc_.get(), TRANSPARENT);
        SelectObject(memDc_.get(), ToolkitNormalFont());
        if (background_) SelectObject(memDc_.get(), background_.get());
    } else if (buffer_) {
        SelectObject(memDc_.get(), previousBitmap_);
        buffer_.reset();
        previousBitmap_ = nullptr;
        bufferBits_ = nullptr;
    }
    HBITMAP made = nullptr;
    void* bits = nullptr;
    if (layered_) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        made = CreateDIBSection(windowDc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    } else {
        made = CreateCompatibleBitmap(windowDc.get(), w, h);
    }
    if (!made) return false;
    buffer_.reset(made);
    previousBitmap_ = SelectObject(memDc_.get(), made);
    bufferIsDib_ = layered_;
    bufferBits_ = static_cast<uint8_t*>(bits);
    bufferWidth_ = w;
    bufferHeight_ = h;
    bufferStride_ = layered_ ? w * 4 : 0;
    bufferImageSize_ = layered_ ? DWORD(w) * 4 * DWORD(h) : 0;
    return true;
}

void UIObject::PaintChildren(HDC dc, const RECT& clip) {
    RECT inside{};
    if (!IntersectRect(&inside, &rect_, &clip)) return;
    for (UIObject* child : children_) {
        if (!child->visible_) continue;
        RECT area{};
        if (!IntersectRect(&area, &inside, &child->rect_)) continue;
        const int saved = SaveDC(dc);
        // The DC keeps a copy of the clip region.
        SelectClipRgn(dc, UniqueRegion(CreateRectRgnIndirect(&area)).get());
        child->Paint(dc, child->rect_, area);
        RestoreDC(dc, saved);
        child->PaintChildren(dc, area);
    }
}

void UIObject::PaintArea(HDC memory, const RECT& area) {
    IntersectClipRect(memory, area.left, area.top, area.right, area.bottom);
    if (background_) FillRect(memory, &area, background_.get());
    Paint(memory, rect_, area);
    PaintChildren(memory, area);
}

LRESULT UIObject::OnPaint(WPARAM, LPARAM) {
    PAINTSTRUCT ps{};
    HDC windowDc = BeginPaint(hwnd_, &ps);
    if (!windowDc || layered_ || IsRectEmpty(&ps.rcPaint) || !EnsureBackBuffer()) {
        EndPaint(hwnd_, &ps);
        return 0;
    }
    const RECT area = ps.rcPaint;
    HDC memory = memDc_.get();
    const int saved = SaveDC(memory);
    PaintArea(memory, area);
    RestoreDC(memory, saved);
    BitBlt(windowDc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory, area.left, area.top,
           SRCCOPY);
    EndPaint(hwnd_, &ps);
    return 0;
}

LRESULT UIObject::LayeredPaint(const RECT* requested) {
    if (!layered_ || !hwnd_) return 0;
    RECT client{};
    GetClientRect(hwnd_, &client);
    RECT area = client;
    if (requested && !IntersectRect(&area, &client, requested)) return 0;
    if (IsRectEmpty(&area) || !EnsureBackBuffer()) return 0;
    const RECT buffer{0, 0, bufferWidth_, bufferHeight_};
    if (!IntersectRect(&area, &area, &buffer)) return 0;
    // Fully transparent before painting: blends then start from nothing, not from
    // the colours of the previous frame.
    if (bufferBits_) {
        for (int y = area.top; y < area.bottom; ++y) {
            uint8_t* row = bufferBits_ + size_t(bufferHeight_ - 1 - y) * size_t(bufferStride_);
            memset(row + size_t(area.left) * 4, 0, size_t(area.right - area.left) * 4);
        }
    }
    HDC memory = memDc_.get();
    const int saved = SaveDC(memory);
    PaintArea(memory, area);
    RECT window{};
    GetWindowRect(hwnd_, &window);
    POINT position{window.left, window.top};
    SIZE size{window.right - window.left, window.bottom - window.top};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(hwnd_, nullptr, &position, &size, memory, &source, 0, &blend, ULW_ALPHA);
    RestoreDC(memory, saved);
    return 0;
}

LRESULT UIObject::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == UIM_LAYEREDPAINT) return LayeredPaint(reinterpret_cast<const RECT*>(wParam));
    return CHWindow::DefaultProc(message, wParam, lParam);
}

bool UIObject::SetLayered() {
    if (!hwnd_ || (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD)) return layered_;
    if (!layered_) {
        ModifyExStyle(0, WS_EX_LAYERED);
        layered_ = (GetWindowLongW(hwnd_, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
        Invalidate();
    }
    return layered_;
}

LRESULT UIObject::OnShowWindow(WPARAM wParam, LPARAM lParam) {
    if (wParam && layered_ && !shownOnce_) {
        shownOnce_ = true;
        SendMessageTimeoutW(hwnd_, UIM_LAYEREDPAINT, 0, 0, SMTO_BLOCK, 0, nullptr);
    }
    return CHWindow::OnShowWindow(wParam, lParam);
}

LRESULT UIObject::OnWindowPosChanged(WPARAM wParam, LPARAM lParam) {
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    bool wasResizing = false;
    if (pos && !(pos->flags & (SWP_NOSIZE | SWP_NOCOPYBITS))) {
        RECT client{};
        GetClientRect(hwnd_, &client);
        if (!SameRect(client, rect_)) {
            rect_ = client;
            resizing_ = true;
            wasResizing = true;
            Layout();
            for (UIObject* child : children_)
                if (child->width_ > 0 && child->height_ > 0) child->Layout();
            Resized();
        }
    }
    const LRESULT result = CHWindow::OnWindowPosChanged(wParam, lParam);
    if (wasResizing) {
        resizing_ = false;
        if (layered_) Invalidate();
    }
    return result;
}

LRESULT UIObject::OnEraseBkgnd(WPARAM, LPARAM) { return 1; }

LRESULT UIObject::HoverStep(WPARAM wParam, POINT point) {
    if (!PtInRect(&rect_, point)) {
        if (hovered_) {
            hovered_ = 0;
            MouseLeave(wParam, point);
            if (hoverChild_) hoverChild_->HoverStep(wParam, point);
            hoverChild_ = nullptr;
        }
        return 0;
    }
    if (!hovered_) {
        hovered_ = 1;
        MouseEnter(wParam, point);
    }
    if (hoverChild_) hoverChild_->HoverStep(wParam, point);
    UIObject* under = ChildAt(point);
    if (under && under == hoverChild_) return 1;
    if (under) under->HoverStep(wParam, point);
    hoverChild_ = under;
    return MouseMove(wParam, point);
}

LRESULT UIObject::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd_, 0};
        tracking_ = TrackMouseEvent(&track) != FALSE;
    }
    HoverStep(wParam, PointOf(lParam));
    return CHWindow::OnMouseMove(wParam, lParam);
}

void UIObject::LeaveHoverChain() {
    UIObject* o = hoverChild_;
    hoverChild_ = nullptr;
    while (o) {
        UIObject* next = o->hoverChild_;
        o->hoverChild_ = nullptr;
        if (o->hovered_) {
            o->hovered_ = 0;
            o->MouseLeave(0, POINT{-1, -1});
        }
        o = next;
    }
}

LRESULT UIObject::OnMouseLeave(WPARAM wParam, LPARAM lParam) {
    tracking_ = false;
    if (hovered_) {
        hovered_ = 0;
        MouseLeave(0, POINT{-1, -1});
        LeaveHoverChain();
    }
    return CHWindow::OnMouseLeave(wParam, lParam);
}

template <class Call>
LRESULT UIObject::ForwardToHovered(Call call) {
    UIObject* d = DeepestHovered();
    if (!d || !d->enabled_ || !d->visible_) return 0;
    return call(d);
}

LRESULT UIObject::MouseUp(WPARAM wParam, POINT point) {
    return ForwardToHovered([&](UIObject* d) { return d->MouseUp(wParam, point); });
}
LRESULT UIObject::MouseDblClk(WPARAM wParam, POINT point) {
    return ForwardToHovered([&](UIObject* d) { return d->MouseDblClk(wParam, point); });
}
LRESULT UIObject::RMouseUp(WPARAM wParam, POINT point) {
    return ForwardToHovered([&](UIObject* d) { return d->RMouseUp(wParam, point); });
}
LRESULT UIObject::RMouseDown(WPARAM wParam, POINT point) {
    return ForwardToHovered([&](UIObject* d) { return d->RMouseDown(wParam, point); });
}
LRESULT UIObject::KeyUp(WPARAM wParam, LPARAM lParam) {
    return ForwardToHovered([&](UIObject* d) { return d->KeyUp(wParam, lParam); });
}

LRESULT UIObject::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CHWindow::OnLButtonDown(wParam, lParam);
    ::SetFocus(hwnd_);
    const POINT point = PointOf(lParam);
    UIObject* d = DeepestHovered();
    if (!d) {
        if (focus_) focus_->FocusLost(nullptr);
        focus_ = nullptr;
        MouseDown(wParam, point);
    } else if (d->enabled_ && d->visible_) {
        if (d != focus_) {
            UIObject* old = focus_;
            if (old) old->FocusLost(d);
            focus_ = d;
            d->FocusGained(old);
        }
        d->MouseDown(wParam, point);
    }
    return result;
}

LRESULT UIObject::RouteButton(LRESULT (UIObject::*event)(WPARAM, POINT), WPARAM wParam, LPARAM lParam) {
    const POINT point = PointOf(lParam);
    UIObject* d = DeepestHovered();
    if (!d) return (this->*event)(wParam, point);
    if (d->enabled_ && d->visible_) return (d->*event)(wParam, point);
    return 0;
}

LRESULT UIObject::OnLButtonUp(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CHWindow::OnLButtonUp(wParam, lParam);
    RouteButton(&UIObject::MouseUp, wParam, lParam);
    return result;
}

LRESULT UIObject::OnLButtonDblClk(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CHWindow::OnLButtonDblClk(wParam, lParam);
    RouteButton(&UIObject::MouseDblClk, wParam, lParam);
    return result;
}

LRESULT UIObject::OnRButtonUp(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CHWindow::OnRButtonUp(wParam, lParam);
    RouteButton(&UIObject::RMouseUp, wParam, lParam);
    return result;
}

LRESULT UIObject::OnRButtonDown(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CHWindow::OnRButtonDown(wParam, lParam);
    RouteButton(&UIObject::RMouseDown, wParam, lParam);
    return result;
}

LRESULT UIObject::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CHWindow::OnMouseWheel(wParam, lParam);
    // The wheel message carries screen coordinates; objects live in client coordinates.
    POINT point = PointOf(lParam);
    ScreenToClient(hwnd_, &point);
    const WORD keys = GET_KEYSTATE_WPARAM(wParam);
    const short delta = GET_WHEEL_DELTA_WPARAM(wParam);
    UIObject* d = DeepestHovered();
    if (!d) {
        MouseWheel(keys, delta, point);
    } else if (d->enabled_ && d->visible_) {
        if (d->parent_) d->parent_->MouseWheel(keys, delta, point);
        d->MouseWheel(keys, delta, point);
    }
    return result;
}

LRESULT UIObject::OnKeyDown(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CHWindow::OnKeyDown(wParam, lParam);
    (focus_ ? focus_ : this)->KeyDown(wParam, lParam);
    return result;
}

LRESULT UIObject::OnKeyUp(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CHWindow::OnKeyUp(wParam, lParam);
    (focus_ ? focus_ : this)->KeyUp(wParam, lParam);
    return result;
}

LRESULT UIObject::OnChar(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CHWindow::OnChar(wParam, lParam);
    (focus_ ? focus_ : this)->CharInput(wParam, lParam);
    return result;
}

bool UIObject::CursorQuery() {
    UIObject* d = DeepestHovered();
    if (!d) return false;
    if (d->CursorQuery()) return true;
    if (!d->enabled_ || !d->visible_ || !d->cursor_) return false;
    if (::GetCursor() != d->cursor_) ::SetCursor(d->cursor_);
    return true;
}

LRESULT UIObject::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    if (CursorQuery()) return 1;
    return CHWindow::OnSetCursor(wParam, lParam);
}

UINT_PTR UIObject::SetObjTimer(UIObject* object, UINT interval) {
    UIObject* root = GetRootObject();
    if (!root->hwnd_ || !IsWindow(root->hwnd_)) return 0;
    const UINT_PTR id = root->timers_.empty() ? 1 : root->timers_.rbegin()->first + 1;
    root->timers_[id] = object;
    SetTimer(root->hwnd_, id, interval, nullptr);
    return id;
}

bool UIObject::KillObjTimer(UINT_PTR id) {
    UIObject* root = GetRootObject();
    if (!root->hwnd_ || !IsWindowVisible(root->hwnd_)) return false;
    root->timers_.erase(id);
    return KillTimer(root->hwnd_, id) != FALSE;
}

LRESULT UIObject::OnTimer(WPARAM wParam, LPARAM) {
    auto timer = timers_.find(wParam);
    if (timer != timers_.end()) timer->second->TimerTick(wParam);
    else KillTimer(hwnd_, wParam);
    return 0;
}

LRESULT UIObject::SendToWindow(UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd_) return SendMessageW(hwnd_, message, wParam, lParam);
    return parent_ ? parent_->SendToWindow(message, wParam, lParam) : 0;
}

LRESULT UIObject::PostToWindow(UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd_) return PostMessageW(hwnd_, message, wParam, lParam);
    return parent_ ? parent_->PostToWindow(message, wParam, lParam) : 0;
}

LRESULT UIObject::ChildNotify(UIObject* sender, UINT message, WPARAM wParam, LPARAM lParam) {
    return parent_ ? parent_->ChildNotify(sender, message, wParam, lParam) : 0;
}

LRESULT UIObject::OnCommand(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CHWindow::OnCommand(wParam, lParam);
    if ((GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD) && ::GetParent(hwnd_))
        SendMessageW(::GetParent(hwnd_), WM_COMMAND, wParam, lParam);
    return result;
}

LRESULT UIObject::OnNotify(WPARAM wParam, LPARAM lParam) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header && header->code == TTN_GETDISPINFOW) TooltipText(reinterpret_cast<NMTTDISPINFOW*>(lParam));
    return CHWindow::OnNotify(wParam, lParam);
}

bool UIObject::PreTranslateMessage(MSG* message) {
    RelayToTooltips(message);
    return false;
}

void UIObject::RelayToTooltips(MSG* message) {
    if (tooltip_) SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(message));
    for (UIObject* child : children_) child->RelayToTooltips(message);
}

}  // namespace kestro
