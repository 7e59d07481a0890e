#include "uikit/controls/ui_tool_bar.h"

#include <commctrl.h>

#include "uikit/controls/skin_reading.h"
#include "uikit/skin/ch_bitmap.h"
#include "uikit/skin/ui_resource.h"

namespace kestro {
namespace {

// TTTOOLINFOW up to lParam: the record size every comctl32 version accepts.
constexpr UINT kToolInfoSize = 44;

}  // namespace

UIToolBar::UIToolBar() { kind_ = kKindToolBar; }

UIToolBar::~UIToolBar() {
    // The tool tip window goes with its object below; the tree must not destroy it twice.
    tooltip_ = nullptr;
}

bool UIToolBar::Load(UIResource* resource, const char* path, const JValue* base) {
    std::optional<JValue> node;
    if (!LoadIdAndSize(resource, path, base, *this, node)) return false;
    bkgnd_ = resource->GetImageStyle("bkgnd", &*node);
    separator_ = resource->GetImageStyle("seperator", &*node);
    metrics_.separatorWidth = separator_.image ? separator_.w : 0;
    return true;
}

void UIToolBar::SetItemSize(int width, int height) {
    metrics_.itemWidth = width;
    metrics_.itemHeight = height;
    LayoutItems();
}

void UIToolBar::SetSpacing(int spacing, int verticalOffset) {
    metrics_.spacing = spacing;
    metrics_.verticalOffset = verticalOffset;
    LayoutItems();
}

int UIToolBar::AddItem(int command, int image, const wchar_t* tooltip, bool clickable, bool sticky) {
    Item item;
    item.command = command;
    item.image = image;
    item.tooltip = tooltip ? tooltip : L"";
    item.clickable = clickable;
    item.sticky = sticky;
    items_.push_back(item);
    LayoutItems();
    return int(items_.size()) - 1;
}

int UIToolBar::AddSeparator() {
    Item item;
    item.separator = true;
    item.clickable = false;
    items_.push_back(item);
    LayoutItems();
    return int(items_.size()) - 1;
}

void UIToolBar::SetItemVisible(int index, bool visible) {
    if (index < 0 || index >= int(items_.size())) return;
    items_[index].visible = visible;
    if (hot_ == index && !visible) hot_ = -1;
    LayoutItems();
}

void UIToolBar::Layout() {
    UIObject::Layout();
    LayoutItems();
}

void UIToolBar::LayoutItems() {
    std::vector<ToolItemShape> shapes;
    for (const Item& item : items_) shapes.push_back(ToolItemShape{item.visible, item.separator});
    const std::vector<IntRect> rects =
        LayoutToolItems(MakeRect(rect_.left, rect_.top, rect_.right, rect_.bottom), metrics_, shapes);
    for (size_t i = 0; i < items_.size(); ++i) items_[i].rect = RECT{rects[i].left, rects[i].top, rects[i].right, rects[i].bottom};
    RegisterTools();
    Invalidate();
}

void UIToolBar::RegisterTools() {
    HWND root = GetRootWindow();
    if (!root) return;
    if (!tips_) {
        auto tips = std::make_unique<CHTooltip>();
        if (!tips->CreateFor(root)) return;
        tips_ = std::move(tips);
        tooltip_ = tips_->GetHwnd();
    }
    for (Item& item : items_) {
        if (item.separator) continue;
        TOOLINFOW info{};
        info.cbSize = kToolInfoSize;
        info.hwnd = root;
        info.uId = UINT_PTR(item.command);
        const bool known = SendMessageW(tooltip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
        if (!item.visible || item.tooltip.empty()) {
            if (known) SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
            continue;
        }
        info.cbSize = kToolInfoSize;
        info.hwnd = root;
        info.uId = UINT_PTR(item.command);
        info.uFlags = 0;
        info.rect = item.rect;
        info.lpszText = const_cast<wchar_t*>(item.tooltip.c_str());
        SendMessageW(tooltip_, known ? TTM_SETTOOLINFOW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void UIToolBar::Paint(HDC dc, const RECT& rect, const RECT& clip) {
    PaintImageStyle(rect_, bkgnd_, dc);
    for (size_t i = 0; i < items_.size(); ++i) {
        const Item& item = items_[i];
        if (!item.visible) continue;
        if (item.separator) {
            const RECT line{item.rect.left + metrics_.spacing, item.rect.top, item.rect.right - metrics_.spacing,
                            item.rect.bottom};
            PaintImageStyle(line, separator_, dc);
            continue;
        }
        if (!strip_) continue;
        int row = kToolRowNormal;
        if (!item.clickable) {
            row = kToolRowDisabled;
        } else if (int(i) == hot_) {
            row = state_;
        }
        const int w = metrics_.itemWidth;
        const int h = metrics_.itemHeight;
        strip_->Draw(dc, item.rect.left + metrics_.spacing, item.rect.top, w, h, item.image * w, row * h, w, h);
    }
}

int UIToolBar::ItemAt(POINT point) const {
    for (size_t i = 0; i < items_.size(); ++i) {
        const Item& item = items_[i];
        if (item.visible && !item.separator && PtInRect(&item.rect, point)) return int(i);
    }
    return -1;
}

void UIToolBar::ShowCursorFor(int item) {
    const bool hand = item >= 0 && items_[item].clickable;
    ::SetCursor(LoadCursorW(nullptr, hand ? IDC_HAND : IDC_ARROW));
}

LRESULT UIToolBar::MouseMove(WPARAM, POINT point) {
    const int item = ItemAt(point);
    ShowCursorFor(item);
    if (item != hot_) {
        hot_ = item;
        state_ = item >= 0 ? kToolRowLighted : kToolRowNormal;
        Invalidate();
    }
    return 0;
}

LRESULT UIToolBar::MouseDown(WPARAM, POINT point) {
    hot_ = ItemAt(point);
    state_ = kToolRowPressed;
    ShowCursorFor(hot_);
    Invalidate();
    return 0;
}

LRESULT UIToolBar::MouseUp(WPARAM wParam, POINT point) {
    UIObject::MouseUp(wParam, point);
    state_ = kToolRowLighted;
    const int item = ItemAt(point);
    if (item >= 0 && items_[item].clickable) {
        state_ = kToolRowNormal;
        Invalidate();
        const WPARAM command = LOWORD(items_[item].command);
        HWND root = GetRootWindow();
        if (parent_) parent_->ChildNotify(this, WM_COMMAND, command, reinterpret_cast<LPARAM>(root));
        SendToWindow(WM_COMMAND, command, reinterpret_cast<LPARAM>(root));
    } else {
        Invalidate();
    }
    return 0;
}

LRESULT UIToolBar::MouseLeave(WPARAM, POINT) {
    if (hot_ >= 0 && items_[hot_].sticky) return 0;
    hot_ = -1;
    state_ = kToolRowNormal;
    Invalidate();
    return 0;
}

}  // namespace kestro
