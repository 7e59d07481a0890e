#include "uikit/lists/ui_header.h"

#include "uikit/lists/header_layout.h"
#include "uikit/skin/ui_resource.h"

namespace kestro {

bool UIHeader::Load(UIResource* resource, const char* path, const JValue* base) {
    if (!resource) return false;
    const std::optional<JValue> node = resource->FindNode(path, base);
    if (!node) return false;
    const int height = resource->GetInt("height", &*node);
    if (height > 0) height_ = height;
    text_ = resource->GetTextStyle("text", &*node);
    bkgnd_ = resource->GetImageStyle("bkgnd", &*node);
    splitter_ = resource->GetImageStyle("splitter", &*node);
    return true;
}

int UIHeader::AddColumn(const wchar_t* text, int width) {
    Column column;
    column.text = text ? text : L"";
    column.width = width;
    columns_.push_back(column);
    Invalidate();
    return int(columns_.size()) - 1;
}

std::vector<int> UIHeader::ColumnWidths() const {
    std::vector<int> widths;
    for (const Column& c : columns_) widths.push_back(c.width);
    return widths;
}

void UIHeader::Paint(HDC dc, const RECT& rect, const RECT& clip) {
    PaintImageStyle(rect_, bkgnd_, dc);
    const IntRect header = MakeRect(rect_.left, rect_.top, rect_.right, rect_.bottom);
    const std::vector<int> widths = ColumnWidths();
    const std::vector<IntRect> cells = LayoutHeaderColumns(header, widths);
    splitters_.clear();
    for (const IntRect& s : HeaderSplitterStrips(header, widths)) {
        const RECT strip{s.left, s.top, s.right, s.bottom};
        splitters_.push_back(strip);
        PaintImageStyle(strip, splitter_, dc);
    }
    for (size_t i = 0; i < columns_.size(); ++i) {
        columns_[i].rect = RECT{cells[i].left, cells[i].top, cells[i].right, cells[i].bottom};
        DrawTextStyle(columns_[i].rect, columns_[i].text.c_str(), dc, nullptr, text_);
    }
}

}  // namespace kestro
