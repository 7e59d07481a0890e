#include "uikit/lists/ui_list_view.h"

#include "uikit/lists/list_layout.h"
#include "uikit/lists/scroll_position.h"
#include "uikit/skin/ui_resource.h"

namespace kestro {
namespace {

RECT ToRect(const IntRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
IntRect ToIntRect(const RECT& r) { return MakeRect(r.left, r.top, r.right, r.bottom); }

// Until the skin or the owner says otherwise.
constexpr int kDefaultListSize = 200;

}  // namespace

UIListView::UIListView() {
    SetLayout(0, 0, kDefaultListSize, kDefaultListSize);
    header_ = new UIHeader();
    scrollBar_ = new UIScrollBar();
    AddChild(header_);
    AddChild(scrollBar_);
    scrollBar_->SetVisible(false);
}

bool UIListView::Load(UIResource* resource, const char* path, const JValue* base) {
    SetLayout(0, 0, kDefaultListSize, kDefaultListSize);
    if (!resource) return false;
    const std::optional<JValue> node = resource->FindNode(path, base);
    if (!node) return false;
    const std::array<int, 4> size = resource->GetRect("size", &*node);
    if (size[2] > 0 && size[3] > 0) SetLayout(size[0], size[1], size[2], size[3]);
    id_ = resource->GetInt("id", &*node);
    if (resource->FindNode("Header", &*node)) header_->Load(resource, "Header", &*node);
    if (resource->FindNode("ScrollBar", &*node)) scrollBar_->Load(resource, "ScrollBar", &*node);
    odd_ = resource->GetImageStyle("Item/odd", &*node);
    even_ = resource->GetImageStyle("Item/even", &*node);
    selectedStyle_ = resource->GetImageStyle("Item/selected", &*node);
    const int itemHeight = resource->GetInt("Item/height", &*node);
    if (itemHeight > 0) itemHeight_ = itemHeight;
    return true;
}

void UIListView::Layout() {
    UIObject::Layout();
    if (IsRectEmpty(&rect_)) return;
    const bool barShown = scrollBar_->IsVisible();
    const int headerHeight = header_->GetHeight();
    const ListFrame frame = ComputeListFrame(ToIntRect(rect_), headerHeight, barShown, scrollBar_->TrackImageWidth());
    list_ = ToRect(frame.list);
    header_->SetPos(frame.header.Width(), headerHeight, 0, 0);
    if (barShown) {
        scrollBar_->SetPos(frame.scrollBar.Width(), frame.scrollBar.Height(), frame.list.Width(), headerHeight);
        UpdateScrollRange();
    }
    LayoutRows();
}

void UIListView::LayoutRows() {
    const IntRect list = ToIntRect(list_);
    const std::vector<int> widths = header_->ColumnWidths();
    for (size_t i = 0; i < rows_.size(); ++i) {
        const IntRect row = ListRowRect(list, itemHeight_, int(i));
        rows_[i].rect = ToRect(row);
        for (size_t j = 0; j < rows_[i].cells.size(); ++j) rows_[i].cells[j].rect = ToRect(ListCellRect(list, row, widths, j));
    }
}

void UIListView::UpdateScrollRange() {
    const int content = int(rows_.size()) * itemHeight_;
    const int page = list_.bottom - list_.top;
    scrollBar_->SetRange(0, content, page);
    ScrollTo(scrollBar_->GetRange().position);
}

void UIListView::ScrollTo(int position) {
    const ScrollRange& r = scrollBar_->GetRange();
    ScrollRange clamped = r;
    const int last = LastScrollPosition(r);
    clamped.position = position < r.minimum ? r.minimum : (position > last ? last : position);
    scrollBar_->SetPosition(clamped.position);
    scrollOffset_ = clamped.position;
    Invalidate();
}

void UIListView::Paint(HDC dc, const RECT& rect, const RECT& clip) {
    const IntRect list = ToIntRect(list_);
    for (const ListStripe& stripe : ListStripes(list, itemHeight_)) {
        PaintImageStyle(ToRect(stripe.rect), stripe.even ? even_ : odd_, dc);
    }
    SetTextColor(dc, textColor_);
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < rows_.size(); ++i) {
        RECT row = rows_[i].rect;
        OffsetRect(&row, 0, -scrollOffset_);
        if (!RectVisible(dc, &row)) continue;
        const ImageStyle& style = int(i) == selected_ ? selectedStyle_ : (i % 2 ? odd_ : even_);
        PaintImageStyle(row, style, dc);
        for (const Cell& cell : rows_[i].cells) {
            RECT text = cell.rect;
            OffsetRect(&text, 0, -scrollOffset_);
            DrawTextW(dc, cell.text.c_str(), int(cell.text.size()), &text, format_);
        }
    }
}

LRESULT UIListView::MouseDown(WPARAM, POINT point) {
    if (!IsEnabled() || !IsVisible()) return 0;
    std::vector<IntRect> rows;
    for (const Row& row : rows_) rows.push_back(ToIntRect(row.rect));
    const int hit = ListRowAtPoint(rows, scrollOffset_, point.x, point.y);
    if (hit >= 0 && PtInRect(&list_, point)) {
        selected_ = hit;
        Invalidate();
    }
    return 0;
}

LRESULT UIListView::MouseWheel(WORD keys, short delta, POINT point) {
    if (!scrollBar_->IsVisible()) return 0;
    ScrollTo(ScrollPositionForWheel(scrollBar_->GetRange(), delta));
    return 0;
}

LRESULT UIListView::ChildNotify(UIObject* sender, UINT message, WPARAM wParam, LPARAM lParam) {
    if (sender == scrollBar_ && message == WM_VSCROLL) {
        ScrollTo(ScrollPositionForCode(scrollBar_->GetRange(), LOWORD(wParam), scrollBar_->GetTrackPosition()));
        return 0;
    }
    return UIObject::ChildNotify(sender, message, wParam, lParam);
}

int UIListView::AddColumn(const wchar_t* text, int width) {
    const int index = header_->AddColumn(text, width);
    LayoutRows();
    Invalidate();
    return index;
}

int UIListView::AddRow(const std::vector<std::wstring>& cells) {
    Row row;
    for (const std::wstring& text : cells) row.cells.push_back(Cell{RECT{0, 0, 0, 0}, text});
    rows_.push_back(row);
    LayoutRows();
    if (scrollBar_->IsVisible()) UpdateScrollRange();
    Invalidate();
    return int(rows_.size()) - 1;
}

void UIListView::SetCellText(int row, int cell, const wchar_t* text) {
    if (row < 0 || row >= int(rows_.size())) return;
    std::vector<Cell>& cells = rows_[row].cells;
    if (cell < 0) return;
    if (cell >= int(cells.size())) cells.resize(cell + 1);
    cells[cell].text = text ? text : L"";
    LayoutRows();
    Invalidate();
}

void UIListView::ShowScrollBar(bool show) {
    scrollBar_->SetVisible(show);
    if (!show) scrollOffset_ = 0;
    Layout();
    Invalidate();
}

void UIListView::SetSelected(int index) {
    selected_ = index >= 0 && index < int(rows_.size()) ? index : -1;
    Invalidate();
}

}  // namespace kestro
