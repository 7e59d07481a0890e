#pragma once
// A tool bar: image buttons from one strip bitmap, separators, and its own tool tips.
#include <memory>
#include <string>
#include <vector>

#include "uikit/controls/ch_tooltip.h"
#include "uikit/controls/control_metrics.h"
#include "uikit/object/ui_object.h"
#include "uikit/skin/painters.h"

namespace kestro {

class CHBitmap;

// Rows of the image strip.
enum ToolStripRow { kToolRowNormal = 0, kToolRowLighted = 1, kToolRowPressed = 2, kToolRowDisabled = 3 };

class UIToolBar : public UIObject {
public:
    struct Item {
        int command = 0;
        int image = 0;  // column in the strip
        RECT rect{0, 0, 0, 0};
        bool visible = true;
        bool clickable = true;
        std::wstring tooltip;
        bool separator = false;
        bool sticky = false;  // stays lighted after the pointer leaves the bar
    };

    UIToolBar();
    ~UIToolBar() override;

    bool Load(UIResource* resource, const char* path, const JValue* base) override;
    void Layout() override;
    void Paint(HDC dc, const RECT& rect, const RECT& clip) override;
    LRESULT MouseMove(WPARAM wParam, POINT point) override;
    LRESULT MouseDown(WPARAM wParam, POINT point) override;
    LRESULT MouseUp(WPARAM wParam, POINT point) override;
    LRESULT MouseLeave(WPARAM wParam, POINT point) override;

    // The strip is not owned (it usually comes from the skin's image cache).
    void SetImageStrip(CHBitmap* strip) { strip_ = strip; }
    void SetItemSize(int width, int height);
    void SetSpacing(int spacing, int verticalOffset);
    // Return the new item's index.
    int AddItem(int command, int image, const wchar_t* tooltip, bool clickable = true, bool sticky = false);
    int AddSeparator();
    void SetItemVisible(int index, bool visible);
    const std::vector<Item>& GetItems() const { return items_; }
    int GetHotItem() const { return hot_; }
    HWND GetTooltip() const { return tips_ ? tips_->GetHwnd() : nullptr; }

private:
    void LayoutItems();
    void RegisterTools();
    int ItemAt(POINT point) const;
    void ShowCursorFor(int item);

    ImageStyle bkgnd_;
    ImageStyle separator_;
    CHBitmap* strip_ = nullptr;
    ToolBarMetrics metrics_;
    std::vector<Item> items_;
    int hot_ = -1;
    int state_ = kToolRowNormal;
    std::unique_ptr<CHTooltip> tips_;
};

}  // namespace kestro
