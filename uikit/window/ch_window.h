#pragma once
// A window bound to an object: every message becomes a call of a virtual handler whose
// default passes the message unchanged to the default procedure.
#include <windows.h>

namespace kestro {

// The one window class of the toolkit and the property that binds objects to windows.
inline constexpr const wchar_t* kCHWindowClass = L"CHWindow";
inline constexpr const wchar_t* kCHWindowProp = L"CHWindow";
inline constexpr const wchar_t* kLastModalProp = L"PropLastModal";

class CHWindow {
public:
    CHWindow() = default;
    CHWindow(const CHWindow&) = delete;
    CHWindow& operator=(const CHWindow&) = delete;

    HWND GetHwnd() const { return hwnd_; }

    bool Create(DWORD style, const wchar_t* windowName, const wchar_t* className, DWORD exStyle, int x, int y,
                HWND parent, HMENU menu, int width, int height);
    // Binds an existing window and subclasses it; false for a non-window or a bound one.
    bool Attach(HWND window);
    HWND Detach();
    void CenterWindow();
    void Move(int x, int y, int width, int height);
    // A new size, keeping the top-left corner where it is on screen.
    void ResizeKeepingCorner(int width, int height);
    bool ModifyExStyle(DWORD remove, DWORD add);
    void ClearEditMargins();

    // The object bound to a window, or none.
    static CHWindow* FromHandle(HWND window);
    // The class procedure of every toolkit window.
    static LRESULT CALLBACK ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    virtual ~CHWindow();
    virtual LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnNcMouseMove(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnNcLButtonUp(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnNcLButtonDown(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnNcLButtonDblClk(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnNcRButtonUp(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnNcRButtonDown(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnNcRButtonDblClk(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnWindowPosChanged(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnLButtonDblClk(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnRButtonUp(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnRButtonDown(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnRButtonDblClk(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnKeyUp(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnNotify(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnHotKey(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnHScroll(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnVScroll(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDrawItem(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnMeasureItem(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnChar(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDropFiles(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnSetFocus(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnKillFocus(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnShowWindow(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnClose(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnNcCreate(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnNcDestroy(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnWindowPosChanging(WPARAM wParam, LPARAM lParam);
    virtual void OnAttached() {}
    virtual void OnDetached() {}
    virtual void OnSizeChanged() {}
    virtual LRESULT OnReflectNotify(NMHDR* header) { return 0; }
    virtual void SetLastModal(HWND dialog);
    virtual void RemoveLastModal();
    virtual bool PreTranslateMessage(MSG* message) { return false; }
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

protected:
    HWND hwnd_ = nullptr;
    WNDPROC defaultProc_ = nullptr;  // the previous procedure of an attached window

private:
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace kestro
