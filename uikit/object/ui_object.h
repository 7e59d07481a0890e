#pragma once
// The base of everything drawn from the skin: a tree of objects of which only the
// root owns a window. The root double-buffers painting (layered or not) and hands
// mouse, keyboard and timer input to the windowless objects below it.
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <vector>

#include "services/json/jvalue.h"
#include "services/win/unique_handle.h"
#include "uikit/window/ch_window.h"

namespace kestro {

class UIResource;

// Kind codes of the control classes.
enum UIKind : int {
    kKindObject = 0,  // also labels, scroll bars, list views, headers, shadow windows
    kKindPane = 1,
    kKindButton = 2,
    kKindToolBar = 3,
    kKindTabCtrl = 4,
    kKindFrameWindow = 5,
    kKindCheckBox = 10,  // and the two-set check box
    kKindRadioBox = 12,
    kKindProgress = 13,
    kKindDropButton = 14,
    kKindEditBox = 15,
};

class UIObject : public CHWindow {
public:
    UIObject();
    ~UIObject() override;

    LRESULT OnPaint(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnWindowPosChanged(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnLButtonDblClk(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnRButtonUp(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnRButtonDown(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnKeyUp(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnChar(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnShowWindow(WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG* message) override;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The memory DC of the nearest ancestor with a window, its back buffer ensured.
    virtual HDC GetMemDC();
    virtual void Layout();
    virtual HWND GetRootWindow();
    virtual void Paint(HDC dc, const RECT& rect, const RECT& clip) {}
    virtual void Invalidate(const RECT* rect = nullptr, bool erase = false);
    virtual bool Load(UIResource* resource, const char* path, const JValue* base) { return false; }
    virtual LRESULT MouseUp(WPARAM wParam, POINT point);
    virtual LRESULT MouseDown(WPARAM wParam, POINT point) { return 0; }
    virtual LRESULT MouseDblClk(WPARAM wParam, POINT point);
    virtual LRESULT RMouseUp(WPARAM wParam, POINT point);
    virtual LRESULT RMouseDown(WPARAM wParam, POINT point);
    virtual LRESULT MouseMove(WPARAM wParam, POINT point) { return 0; }
    virtual LRESULT MouseEnter(WPARAM wParam, POINT point) { return 0; }
    virtual LRESULT MouseLeave(WPARAM wParam, POINT point) { return 0; }
    virtual LRESULT MouseWheel(WORD keys, short delta, POINT point) { return 0; }
    virtual LRESULT VisibleChanged(bool visible) { return 1; }
    virtual void TooltipText(NMTTDISPINFOW* info) {}
    virtual void TimerTick(UINT_PTR id) {}
    virtual LRESULT KeyDown(WPARAM wParam, LPARAM lParam) { return 0; }
    virtual LRESULT KeyUp(WPARAM wParam, LPARAM lParam);
    virtual LRESULT CharInput(WPARAM wParam, LPARAM lParam) { return 0; }
    virtual LRESULT FocusLost(UIObject* next) { return 0; }
    virtual LRESULT FocusGained(UIObject* previous) { return 0; }
    virtual bool CursorQuery();
    virtual LRESULT SendToWindow(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT PostToWindow(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT ChildNotify(UIObject* sender, UINT message, WPARAM wParam, LPARAM lParam);
    virtual void Resized() {}
    virtual void RelayToTooltips(MSG* message);

    // Takes ownership of the child and lays it out.
    void AddChild(UIObject* child);
    void SetVisible(bool visible);
    void SetEnabled(bool enabled);
    // A width or height below 0 keeps the current value.
    void SetPos(int width, int height, int x, int y);
    bool SetLayered();
    // An id of the root's timer map, or 0 when the tree has no live window.
    UINT_PTR SetObjTimer(UIObject* object, UINT interval);
    // Only while the root window is visible; true when a timer was stopped.
    bool KillObjTimer(UINT_PTR id);
    // The topmost visible child whose rectangle contains the point.
    UIObject* ChildAt(POINT point) const;

    int GetId() const { return id_; }
    void SetId(int id) { id_ = id; }
    int GetKind() const { return kind_; }
    bool IsEnabled() const { return enabled_ != 0; }
    bool IsVisible() const { return visible_ != 0; }
    bool IsHovered() const { return hovered_ != 0; }
    bool IsHitThrough() const { return hitThrough_ != 0; }
    void SetHitThrough(bool on) { hitThrough_ = on; }
    int GetAnchorMode() const { return anchorMode_; }
    void SetAnchorMode(int mode) { anchorMode_ = BYTE(mode); }
    void SetHasTooltip(bool on) { hasTooltip_ = on; }
    const RECT& GetRect() const { return rect_; }
    void SetRect(const RECT& rect) { rect_ = rect; }
    RECT GetLayoutRect() const { return RECT{x_, y_, width_, height_}; }
    void SetLayout(int x, int y, int width, int height) { x_ = x, y_ = y, width_ = width, height_ = height; }
    void SetCursor(HCURSOR cursor) { cursor_ = cursor; }
    HCURSOR GetCursor() const { return cursor_; }
    UIObject* GetParent() const { return parent_; }
    UIObject* GetHoverChild() const { return hoverChild_; }
    UIObject* GetFocusObject() const { return focus_; }
    const std::vector<UIObject*>& GetChildren() const { return children_; }
    // Owned; fills the paint area before painting.
    void SetBackgroundBrush(HBRUSH brush);
    // Owned; the object's rectangle is kept up to date in it.
    void SetTooltipWindow(HWND tooltip);
    HWND GetTooltipWindow() const { return tooltip_; }
    bool IsLayered() const { return layered_; }
    bool IsResizing() const { return resizing_; }
    // The nearest ancestor that owns a window (itself included), else the topmost one.
    UIObject* GetRootObject();
    // The object at the end of the hover chain below this one, or none.
    UIObject* DeepestHovered() const;
    // The back buffer of a root: bits of a layered (32-bit) buffer, else null.
    uint8_t* GetBackBufferBits() const { return bufferBits_; }
    SIZE GetBackBufferSize() const { return SIZE{bufferWidth_, bufferHeight_}; }

protected:
    void PaintChildren(HDC dc, const RECT& clip);
    bool EnsureBackBuffer();
    void UpdateTooltipRect(bool shown);
    void ReleaseBackBuffer();

    int id_ = 0;
    int kind_ = kKindObject;
    BYTE enabled_ = 1;
    BYTE visible_ = 1;
    BYTE hovered_ = 0;
    BYTE hitThrough_ = 0;
    BYTE anchorMode_ = 0;
    BYTE hasTooltip_ = 0;
    RECT rect_{0, 0, 0, 0};
    int x_ = 0, y_ = 0, width_ = 0, height_ = 0;
    HCURSOR cursor_ = nullptr;
    UIObject* parent_ = nullptr;
    UIObject* hoverChild_ = nullptr;
    UIObject* focus_ = nullptr;
    std::vector<UIObject*> children_;
    std::map<UINT_PTR, UIObject*> timers_;
    bool tracking_ = false;
    UniqueBrush background_;
    HWND tooltip_ = nullptr;
    bool layered_ = false;
    bool shownOnce_ = false;
    bool resizing_ = false;
    // The back buffer of a root. The DC is declared last, so it goes first and the
    // bitmap is no longer selected into anything when it is deleted.
    UniqueBitmap buffer_;
    UniqueMemoryDc memDc_;
    HGDIOBJ previousBitmap_ = nullptr;
    uint8_t* bufferBits_ = nullptr;
    DWORD bufferImageSize_ = 0;
    int bufferStride_ = 0;
    int bufferWidth_ = 0, bufferHeight_ = 0;
    bool bufferIsDib_ = false;

private:
    LRESULT HoverStep(WPARAM wParam, POINT point);
    // A button event for the deepest hovered object when it is enabled and visible,
    // for the root itself when nothing is hovered.
    LRESULT RouteButton(LRESULT (UIObject::*event)(WPARAM, POINT), WPARAM wParam, LPARAM lParam);
    void LeaveHoverChain();
    void Forget(UIObject* gone);
    // Background, the object and its children into the back buffer, clipped to the area.
    void PaintArea(HDC memory, const RECT& area);
    LRESULT LayeredPaint(const RECT* requested);
    // Forwards to the deepest hovered object when it is enabled and visible.
    template <class Call>
    LRESULT ForwardToHovered(Call call);
};

}  // namespace kestro
