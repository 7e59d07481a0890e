#include "ch_window.h"

#include "uikit/core/layout.h"

namespace kestro {

CHWindow::~CHWindow() {
    if (hwnd_ && IsWindow(hwnd_)) {
        HWND window = Detach();
        DestroyWindow(window);
    }
}

CHWindow* CHWindow::FromHandle(HWND window) {
    return window ? static_cast<CHWindow*>(GetPropW(window, kCHWindowProp)) : nullptr;
}

bool CHWindow::Create(DWORD style, const wchar_t* windowName, const wchar_t* className, DWORD exStyle, int x, int y,
                      HWND parent, HMENU menu, int width, int height) {
    HWND made = CreateWindowExW(exStyle, className ? className : kCHWindowClass, windowName ? windowName : L"", style,
                                x, y, width, height, parent, menu, GetModuleHandleW(nullptr), this);
    return made != nullptr;
}

bool CHWindow::Attach(HWND window) {
    if (!IsWindow(window) || GetPropW(window, kCHWindowProp)) return false;
    hwnd_ = window;
    SetPropW(window, kCHWindowProp, this);
    defaultProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CHWindow::ClassProc)));
    OnAttached();
    return true;
}

HWND CHWindow::Detach() {
    HWND window = hwnd_;
    if (window && IsWindow(window)) {
        RemovePropW(window, kCHWindowProp);
        if (HWND modal = static_cast<HWND>(GetPropW(window, kLastModalProp))) {
            if (IsWindow(modal)) EndDialog(modal, IDCANCEL);
            RemovePropW(window, kLastModalProp);
        }
        if (defaultProc_) {
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defaultProc_));
            defaultProc_ = nullptr;
            OnDetached();
        }
    }
    hwnd_ = nullptr;
    return window;
}

void CHWindow::CenterWindow() {
    if (!hwnd_) return;
    RECT own{};
    GetWindowRect(hwnd_, &own);
    const int w = own.right - own.left, h = own.bottom - own.top;
    RECT ref{};
    const bool child = (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD) != 0;
    if (child && GetParent(hwnd_)) GetClientRect(GetParent(hwnd_), &ref);
    else GetWindowRect(GetDesktopWindow(), &ref);
    int x = 0, y = 0;
    CenterIn(IntRect{ref.left, ref.top, ref.right, ref.bottom}, w, h, x, y);
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (IsWindowVisible(hwnd_) ? 0 : SWP_NOREDRAW));
}

void CHWindow::Move(int x, int y, int width, int height) {
    if (hwnd_) MoveWindow(hwnd_, x, y, width, height, IsWindowVisible(hwnd_));
}

void CHWindow::ResizeKeepingCorner(int width, int height) {
    if (!hwnd_) return;
    RECT r{};
    GetWindowRect(hwnd_, &r);
    POINT corner{r.left, r.top};
    HWND parent = GetParent(hwnd_);
    if ((GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD) && parent) {
        if (GetWindowLongW(parent, GWL_STYLE) & WS_CHILD) {
            RECT pr{};
            GetWindowRect(parent, &pr);
            corner.x -= pr.left;
            corner.y -= pr.top;
        } else {
            ScreenToClient(parent, &corner);
        }
    }
    MoveWindow(hwnd_, corner.x, corner.y, width, height, IsWindowVisible(hwnd_));
}

bool CHWindow::ModifyExStyle(DWORD remove, DWORD add) {
    if (!hwnd_) return false;
    const DWORD old = DWORD(GetWindowLongW(hwnd_, GWL_EXSTYLE));
    const DWORD updated = add | (old & ~remove);
    if (updated == old) return false;
    SetWindowLongW(hwnd_, GWL_EXSTYLE, LONG(updated));
    return true;
}

void CHWindow::ClearEditMargins() {
    if (hwnd_) SendMessageW(hwnd_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
}

void CHWindow::SetLastModal(HWND dialog) {
    if (hwnd_) SetPropW(hwnd_, kLastModalProp, dialog);
}

void CHWindow::RemoveLastModal() {
    if (hwnd_) RemovePropW(hwnd_, kLastModalProp);
}

LRESULT CHWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (defaultProc_) return CallWindowProcW(defaultProc_, hwnd_, message, wParam, lParam);
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CHWindow::OnMessage(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

#define KESTRO_DEFAULT_HANDLER(Name, Message) \
    LRESULT CHWindow::Name(WPARAM wParam, LPARAM lParam) { return DefaultProc(Message, wParam, lParam); }
KESTRO_DEFAULT_HANDLER(OnPaint, WM_PAINT)
KESTRO_DEFAULT_HANDLER(OnNcPaint, WM_NCPAINT)
KESTRO_DEFAULT_HANDLER(OnEraseBkgnd, WM_ERASEBKGND)
KESTRO_DEFAULT_HANDLER(OnMouseMove, WM_MOUSEMOVE)
KESTRO_DEFAULT_HANDLER(OnNcHitTest, WM_NCHITTEST)
KESTRO_DEFAULT_HANDLER(OnNcMouseMove, WM_NCMOUSEMOVE)
KESTRO_DEFAULT_HANDLER(OnSetCursor, WM_SETCURSOR)
KESTRO_DEFAULT_HANDLER(OnNcLButtonUp, WM_NCLBUTTONUP)
KESTRO_DEFAULT_HANDLER(OnNcLButtonDown, WM_NCLBUTTONDOWN)
KESTRO_DEFAULT_HANDLER(OnNcLButtonDblClk, WM_NCLBUTTONDBLCLK)
KESTRO_DEFAULT_HANDLER(OnNcRButtonUp, WM_NCRBUTTONUP)
KESTRO_DEFAULT_HANDLER(OnNcRButtonDown, WM_NCRBUTTONDOWN)
KESTRO_DEFAULT_HANDLER(OnNcRButtonDblClk, WM_NCRBUTTONDBLCLK)
KESTRO_DEFAULT_HANDLER(OnNcCalcSize, WM_NCCALCSIZE)
KESTRO_DEFAULT_HANDLER(OnWindowPosChanged, WM_WINDOWPOSCHANGED)
KESTRO_DEFAULT_HANDLER(OnLButtonUp, WM_LBUTTONUP)
KESTRO_DEFAULT_HANDLER(OnLButtonDown, WM_LBUTTONDOWN)
KESTRO_DEFAULT_HANDLER(OnLButtonDblClk, WM_LBUTTONDBLCLK)
KESTRO_DEFAULT_HANDLER(OnRButtonUp, WM_RBUTTONUP)
KESTRO_DEFAULT_HANDLER(OnRButtonDown, WM_RBUTTONDOWN)
KESTRO_DEFAULT_HANDLER(OnRButtonDblClk, WM_RBUTTONDBLCLK)
KESTRO_DEFAULT_HANDLER(OnCommand, WM_COMMAND)
KESTRO_DEFAULT_HANDLER(OnKeyUp, WM_KEYUP)
KESTRO_DEFAULT_HANDLER(OnKeyDown, WM_KEYDOWN)
KESTRO_DEFAULT_HANDLER(OnSize, WM_SIZE)
KESTRO_DEFAULT_HANDLER(OnNotify, WM_NOTIFY)
KESTRO_DEFAULT_HANDLER(OnHotKey, WM_HOTKEY)
KESTRO_DEFAULT_HANDLER(OnTimer, WM_TIMER)
KESTRO_DEFAULT_HANDLER(OnHScroll, WM_HSCROLL)
KESTRO_DEFAULT_HANDLER(OnVScroll, WM_VSCROLL)
KESTRO_DEFAULT_HANDLER(OnDrawItem, WM_DRAWITEM)
KESTRO_DEFAULT_HANDLER(OnMeasureItem, WM_MEASUREITEM)
KESTRO_DEFAULT_HANDLER(OnChar, WM_CHAR)
KESTRO_DEFAULT_HANDLER(OnDropFiles, WM_DROPFILES)
KESTRO_DEFAULT_HANDLER(OnSetFocus, WM_SETFOCUS)
KESTRO_DEFAULT_HANDLER(OnKillFocus, WM_KILLFOCUS)
KESTRO_DEFAULT_HANDLER(OnMouseWheel, WM_MOUSEWHEEL)
KESTRO_DEFAULT_HANDLER(OnMouseHover, WM_MOUSEHOVER)
KESTRO_DEFAULT_HANDLER(OnMouseLeave, WM_MOUSELEAVE)
KESTRO_DEFAULT_HANDLER(OnGetMinMaxInfo, WM_GETMINMAXINFO)
KESTRO_DEFAULT_HANDLER(OnShowWindow, WM_SHOWWINDOW)
KESTRO_DEFAULT_HANDLER(OnSysCommand, WM_SYSCOMMAND)
KESTRO_DEFAULT_HANDLER(OnNcActivate, WM_NCACTIVATE)
KESTRO_DEFAULT_HANDLER(OnCreate, WM_CREATE)
KESTRO_DEFAULT_HANDLER(OnDestroy, WM_DESTROY)
KESTRO_DEFAULT_HANDLER(OnClose, WM_CLOSE)
KESTRO_DEFAULT_HANDLER(OnNcCreate, WM_NCCREATE)
KESTRO_DEFAULT_HANDLER(OnNcDestroy, WM_NCDESTROY)
KESTRO_DEFAULT_HANDLER(OnWindowPosChanging, WM_WINDOWPOSCHANGING)
#undef KESTRO_DEFAULT_HANDLER

LRESULT CALLBACK CHWindow::ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CHWindow* object = FromHandle(window);
    if (!object) {
        if (message != WM_NCCREATE && message != WM_CREATE) return DefWindowProcW(window, message, wParam, lParam);
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        object = create ? static_cast<CHWindow*>(create->lpCreateParams) : nullptr;
        if (!object) return DefWindowProcW(window, message, wParam, lParam);
        object->hwnd_ = window;
        SetPropW(window, kCHWindowProp, object);
    }
    return object->Dispatch(message, wParam, lParam);
}

LRESULT CHWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: return OnPaint(wParam, lParam);
        case WM_NCPAINT: return OnNcPaint(wParam, lParam);
        case WM_ERASEBKGND: return OnEraseBkgnd(wParam, lParam);
        case WM_MOUSEMOVE: return OnMouseMove(wParam, lParam);
        case WM_NCHITTEST: return OnNcHitTest(wParam, lParam);
        case WM_NCMOUSEMOVE: return OnNcMouseMove(wParam, lParam);
        case WM_SETCURSOR: return OnSetCursor(wParam, lParam);
        case WM_NCLBUTTONUP: return OnNcLButtonUp(wParam, lParam);
        case WM_NCLBUTTONDOWN: return OnNcLButtonDown(wParam, lParam);
        case WM_NCLBUTTONDBLCLK: return OnNcLButtonDblClk(wParam, lParam);
        case WM_NCRBUTTONUP: return OnNcRButtonUp(wParam, lParam);
        case WM_NCRBUTTONDOWN: return OnNcRButtonDown(wParam, lParam);
        case WM_NCRBUTTONDBLCLK: return OnNcRButtonDblClk(wParam, lParam);
        case WM_NCCALCSIZE: return OnNcCalcSize(wParam, lParam);
        case WM_WINDOWPOSCHANGED: {
            const LRESULT result = OnWindowPosChanged(wParam, lParam);
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (pos && !(pos->flags & (SWP_NOSIZE | SWP_NOCOPYBITS))) OnSizeChanged();
            return result;
        }
        case WM_LBUTTONUP: return OnLButtonUp(wParam, lParam);
        case WM_LBUTTONDOWN: return OnLButtonDown(wParam, lParam);
        case WM_LBUTTONDBLCLK: return OnLButtonDblClk(wParam, lParam);
        case WM_RBUTTONUP: return OnRButtonUp(wParam, lParam);
        case WM_RBUTTONDOWN: return OnRButtonDown(wParam, lParam);
        case WM_RBUTTONDBLCLK: return OnRButtonDblClk(wParam, lParam);
        case WM_COMMAND: return OnCommand(wParam, lParam);
        case WM_KEYUP: return OnKeyUp(wParam, lParam);
        case WM_KEYDOWN: return OnKeyDown(wParam, lParam);
        case WM_SIZE: return OnSize(wParam, lParam);
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header) {
                if (CHWindow* source = FromHandle(header->hwndFrom)) {
                    const LRESULT reflected = source->OnReflectNotify(header);
                    if (reflected) return reflected;
                }
            }
            return OnNotify(wParam, lParam);
        }
        case WM_HOTKEY: return OnHotKey(wParam, lParam);
        case WM_TIMER: return OnTimer(wParam, lParam);
        case WM_HSCROLL: return OnHScroll(wParam, lParam);
        case WM_VSCROLL: return OnVScroll(wParam, lParam);
        case WM_DRAWITEM: return OnDrawItem(wParam, lParam);
        case WM_MEASUREITEM: return OnMeasureItem(wParam, lParam);
        case WM_CHAR: return OnChar(wParam, lParam);
        case WM_DROPFILES: return OnDropFiles(wParam, lParam);
        case WM_SETFOCUS: return OnSetFocus(wParam, lParam);
        case WM_KILLFOCUS: return OnKillFocus(wParam, lParam);
        case WM_MOUSEWHEEL: return OnMouseWheel(wParam, lParam);
        case WM_MOUSEHOVER: return OnMouseHover(wParam, lParam);
        case WM_MOUSELEAVE: return OnMouseLeave(wParam, lParam);
        case WM_GETMINMAXINFO: return OnGetMinMaxInfo(wParam, lParam);
        case WM_SHOWWINDOW: return OnShowWindow(wParam, lParam);
        case WM_SYSCOMMAND: return OnSysCommand(wParam, lParam);
        case WM_NCACTIVATE: return OnNcActivate(wParam, lParam);
        case WM_CREATE: return OnCreate(wParam, lParam);
        case WM_DESTROY: return OnDestroy(wParam, lParam);
        case WM_CLOSE: return OnClose(wParam, lParam);
        case WM_NCCREATE: return OnNcCreate(wParam, lParam);
        case WM_NCDESTROY: {
            const LRESULT result = OnNcDestroy(wParam, lParam);
            Detach();
            return result;
        }
        case WM_WINDOWPOSCHANGING: return OnWindowPosChanging(wParam, lParam);
        default: {
            bool handled = false;
            const LRESULT result = OnMessage(message, wParam, lParam, handled);
            return handled ? result : DefaultProc(message, wParam, lParam);
        }
    }
}

}  // namespace kestro
