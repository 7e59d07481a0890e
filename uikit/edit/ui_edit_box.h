#pragma once
// A text in a skinned box that scrolls vertically with its own scroll bar. The base
// of the two editors.
#include <string>

#include "uikit/lists/ui_scroll_bar.h"
#include "uikit/object/ui_object.h"
#include "uikit/skin/painters.h"

namespace kestro {

// The text box's thumb never gets shorter than this.
constexpr int kEditBoxMinThumb = 30;

class UIEditBox : public UIObject {
public:
    UIEditBox();

    bool Load(UIResource* resource, const char* path, const JValue* base) override;
    void Layout() override;
    void Paint(HDC dc, const RECT& rect, const RECT& clip) override;
    LRESULT ChildNotify(UIObject* sender, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT MouseWheel(WORD keys, short delta, POINT point) override;

    virtual std::wstring GetText() const { return text_; }
    virtual void SetText(const wchar_t* text);
    // Scrolling on shows the scroll bar and lays the text out against it.
    void SetScrolling(bool on);
    bool IsScrolling() const { return scrolling_; }
    UIScrollBar* GetScrollBar() const { return scrollBar_; }
    int GetScrollOffset() const { return scrollOffset_; }
    const RECT& GetTextRect() const { return textRect_; }
    TextStyle& GetNormalTextStyle() { return normal_; }

protected:
    // The text rectangle less the margins.
    RECT TextBox() const;
    void ScrollTo(int position);

    TextStyle normal_;
    TextStyle grayed_;
    ImageStyle bkgnd_;
    std::wstring text_;
    bool scrolling_ = false;
    RECT margin_{0, 0, 0, 0};
    RECT textRect_{0, 0, 0, 0};
    UIScrollBar* scrollBar_ = nullptr;  // child, owned by the tree
    int scrollOffset_ = 0;
};

}  // namespace kestro
