#pragma once
// The column header of a list view.
#include <string>
#include <vector>

#include "uikit/object/ui_object.h"
#include "uikit/skin/painters.h"

namespace kestro {

constexpr int kDefaultHeaderHeight = 32;

class UIHeader : public UIObject {
public:
    struct Column {
        std::wstring text;
        RECT rect{0, 0, 0, 0};
        int width = 0;
    };

    bool Load(UIResource* resource, const char* path, const JValue* base) override;
    void Paint(HDC dc, const RECT& rect, const RECT& clip) override;

    int AddColumn(const wchar_t* text, int width);
    int GetHeight() const { return height_; }
    std::vector<int> ColumnWidths() const;
    const std::vector<Column>& GetColumns() const { return columns_; }
    // Where the splitters were painted last (for checks of the layout).
    const std::vector<RECT>& GetSplitters() const { return splitters_; }

private:
    int height_ = kDefaultHeaderHeight;
    TextStyle text_;
    ImageStyle bkgnd_;
    ImageStyle splitter_;
    std::vector<Column> columns_;
    std::vector<RECT> splitters_;
};

}  // namespace kestro
