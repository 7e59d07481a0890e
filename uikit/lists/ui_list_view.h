#pragma once
// Rows of text cells under a column header, with striped rows, one selected row and
// a vertical scroll bar.
#include <string>
#include <vector>

#include "uikit/lists/ui_header.h"
#include "uikit/lists/ui_scroll_bar.h"
#include "uikit/object/ui_object.h"
#include "uikit/skin/painters.h"

namespace kestro {

constexpr int kDefaultListItemHeight = 28;
constexpr COLORREF kListTextColor = 0xFFFFFF;
// Cells: centred, vertically centred, one line, word ellipsis.
constexpr UINT kListCellFormat = 0x40025;

class UIListView : public UIObject {
public:
    struct Cell {
        RECT rect{0, 0, 0, 0};
        std::wstring text;
    };
    struct Row {
        RECT rect{0, 0, 0, 0};
        std::vector<Cell> cells;
    };

    UIListView();

    bool Load(UIResource* resource, const char* path, const JValue* base) override;
    void Layout() override;
    void Paint(HDC dc, const RECT& rect, const RECT& clip) override;
    LRESULT MouseDown(WPARAM wParam, POINT point) override;
    LRESULT MouseMove(WPARAM wParam, POINT point) override { return 1; }
    LRESULT MouseWheel(WORD keys, short delta, POINT point) override;
    LRESULT ChildNotify(UIObject* sender, UINT message, WPARAM wParam, LPARAM lParam) override;

    UIHeader* GetHeader() const { return header_; }
    UIScrollBar* GetScrollBar() const { return scrollBar_; }
    int AddColumn(const wchar_t* text, int width);
    // Returns the new row's index.
    int AddRow(const std::vector<std::wstring>& cells);
    void SetCellText(int row, int cell, const wchar_t* text);
    const std::vector<Row>& GetRows() const { return rows_; }
    // Shows or hides the scroll bar; its range follows the rows.
    void ShowScrollBar(bool show);
    int GetSelected() const { return selected_; }
    void SetSelected(int index);
    int GetScrollOffset() const { return scrollOffset_; }
    const RECT& GetListRect() const { return list_; }

private:
    void LayoutRows();
    void UpdateScrollRange();
    void ScrollTo(int position);

    UIHeader* header_ = nullptr;        // child, owned by the tree
    UIScrollBar* scrollBar_ = nullptr;  // child, owned by the tree
    ImageStyle odd_;
    ImageStyle even_;
    ImageStyle selectedStyle_;
    int itemHeight_ = kDefaultListItemHeight;
    COLORREF textColor_ = kListTextColor;
    UINT format_ = kListCellFormat;
    RECT list_{0, 0, 0, 0};
    int scrollOffset_ = 0;
    int selected_ = -1;
    std::vector<Row> rows_;
};

}  // namespace kestro
