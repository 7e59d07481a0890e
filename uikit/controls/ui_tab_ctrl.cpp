#include "uikit/controls/ui_tab_ctrl.h"

#include <optional>

#include "services/win/unique_handle.h"
#include "uikit/controls/control_metrics.h"
#include "uikit/controls/skin_reading.h"
#include "uikit/skin/toolkit_fonts.h"
#include "uikit/skin/ui_resource.h"

namespace kestro {

UITabCtrl::UITabCtrl() { kind_ = kKindTabCtrl; }

bool UITabCtrl::Load(UIResource* resource, const char* path, const JValue* base) {
    std::optional<JValue> node;
    if (!LoadIdAndSize(resource, path, base, *this, node)) return false;
    bkgnd_ = resource->GetImageStyle("bkgnd", &*node);
    itemNormal_ = resource->GetImageStyle("Item/normal", &*node);
    itemPressed_ = resource->GetImageStyle("Item/pressed", &*node);
    textNormal_ = resource->GetTextStyle("Text/normal", &*node);
    textPressed_ = resource->GetTextStyle("Text/pressed", &*node);
    return true;
}

int UITabCtrl::TextWidth(const std::wstring& text) {
    if (text.empty()) return 0;
    // Before the tree has a window, the screen measures the same font.
    HDC memDc = GetMemDC();
    std::optional<ScopedWindowDc> screen;
    if (!memDc) screen.emplace(nullptr);
    HDC dc = memDc ? memDc : screen->get();
    if (!dc) return 0;
    ScopedSelect font(dc, textNormal_.font ? textNormal_.font : ToolkitNormalFont());
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    return size.cx;
}

void UITabCtrl::LayoutItems() {
    std::vector<TabItemShape> shapes;
    for (const Item& item : items_) {
        TabItemShape shape;
        shape.visible = item.visible;
        shape.textWidth = vertical_ ? 0 : TextWidth(item.text);
        shapes.push_back(shape);
    }
    const IntRect control = MakeRect(rect_.left, rect_.top, rect_.right, rect_.bottom);
    const std::vector<IntRect> rects = LayoutTabItems(control, vertical_, shapes);
    for (size_t i = 0; i < items_.size(); ++i) items_[i].rect = RECT{rects[i].left, rects[i].top, rects[i].right, rects[i].bottom};
}

void UITabCtrl::Layout() {
    UIObject::Layout();
    LayoutItems();
}

void UITabCtrl::Paint(HDC dc, const RECT& rect, const RECT& clip) {
    PaintImageStyle(rect_, bkgnd_, dc);
    for (size_t i = 0; i < items_.size(); ++i) {
        const Item& item = items_[i];
        if (!item.visible) continue;
        const bool selected = int(i) == selected_;
        PaintImageStyle(item.rect, selected ? itemPressed_ : itemNormal_, dc);
        TextStyle text = selected ? textPressed_ : textNormal_;
        text.align = kTabTextAlign;
        DrawTextStyle(item.rect, item.text.c_str(), dc, nullptr, text);
    }
}

LRESULT UITabCtrl::MouseDown(WPARAM, POINT point) {
    if (!IsEnabled() || !IsVisible()) return 0;
    for (size_t i = 0; i < items_.size(); ++i) {
        const Item& item = items_[i];
        if (!item.visible || int(i) == selected_ || !PtInRect(&item.rect, point)) continue;
        selected_ = int(i);
        Invalidate();
        const WPARAM id = LOWORD(item.id);
        if (parent_) parent_->ChildNotify(this, WM_COMMAND, id, reinterpret_cast<LPARAM>(this));
        SendToWindow(WM_COMMAND, id, reinterpret_cast<LPARAM>(GetRootWindow()));
        break;
    }
    return 0;
}

int UITabCtrl::AddItem(int id, const wchar_t* text) {
    Item item;
    item.id = id;
    item.text = text ? text : L"";
    items_.push_back(item);
    LayoutItems();
    Invalidate();
    return int(items_.size()) - 1;
}

void UITabCtrl::SetItemVisible(int index, bool visible) {
    if (index < 0 || index >= int(items_.size())) return;
    items_[index].visible = visible;
    LayoutItems();
    Invalidate();
}

void UITabCtrl::SetSelected(int index) {
    selected_ = index >= 0 && index < int(items_.size()) ? index : -1;
    Invalidate();
}

void UITabCtrl::SetVertical(bool vertical) {
    vertical_ = vertical;
    LayoutItems();
    Invalidate();
}

}  // namespace kestro
