#pragma once
// A row (or column) of tab items; a click selects an item and reports its id.
#include <string>
#include <vector>

#include "uikit/object/ui_object.h"
#include "uikit/skin/painters.h"

namespace kestro {

// Tab texts are centred in their items.
constexpr uint32_t kTabTextAlign = 37;

class UITabCtrl : public UIObject {
public:
    struct Item {
        int id = 0;
        std::wstring text;
        RECT rect{0, 0, 0, 0};
        bool visible = true;
    };

    UITabCtrl();
    bool Load(UIResource* resource, const char* path, const JValue* base) override;
    void Layout() override;
    void Paint(HDC dc, const RECT& rect, const RECT& clip) override;
    LRESULT MouseDown(WPARAM wParam, POINT point) override;

    // Returns the new item's index.
    int AddItem(int id, const wchar_t* text);
    void SetItemVisible(int index, bool visible);
    // -1 selects nothing. No notification.
    void SetSelected(int index);
    int GetSelected() const { return selected_; }
    void SetVertical(bool vertical);
    const std::vector<Item>& GetItems() const { return items_; }

private:
    void LayoutItems();
    int TextWidth(const std::wstring& text);

    ImageStyle bkgnd_;
    ImageStyle itemNormal_;
    ImageStyle itemPressed_;
    TextStyle textNormal_;
    TextStyle textPressed_;
    std::vector<Item> items_;
    int selected_ = -1;
    bool vertical_ = false;
};

}  // namespace kestro
