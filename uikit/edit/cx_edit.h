#pragma once
// The self-drawn single-line editor: own caret, selection and keys, no native window.
#include <string>
#include <vector>

#include "uikit/edit/edit_model.h"
#include "uikit/edit/ui_edit_box.h"

namespace kestro {

// The change notification's wParam: edit-update code 0x400 in the high word, id 0.
constexpr WPARAM kEditChangeNotification = 0x4000000;
constexpr UINT kCaretBlinkMs = 500;
// Selection fill colour, opaque.
constexpr unsigned kSelectionArgb = 0xFF3399FF;

class CXEdit : public UIEditBox {
public:
    void Paint(HDC dc, const RECT& rect, const RECT& clip) override;
    LRESULT MouseDown(WPARAM wParam, POINT point) override;
    LRESULT MouseDblClk(WPARAM wParam, POINT point) override;
    LRESULT KeyDown(WPARAM wParam, LPARAM lParam) override;
    LRESULT CharInput(WPARAM wParam, LPARAM lParam) override;
    LRESULT FocusLost(UIObject* next) override;
    LRESULT FocusGained(UIObject* previous) override;
    void TimerTick(UINT_PTR id) override;
    bool CursorQuery() override;

    // Stores the text (a new text puts the caret at its end) and notifies.
    void SetText(const wchar_t* text) override;
    void SetMaxLength(int maxLength) { model_.SetMaxLength(maxLength); }
    const EditModel& GetModel() const { return model_; }
    // The character boundary under a point of the root's client area.
    size_t IndexAtPoint(POINT point);

private:
    void Notify();
    void Apply(const EditOutcome& outcome);
    void RunDragSelection(size_t anchor);
    // Widths of every prefix of the text in the normal style's font.
    std::vector<int> PrefixWidths(HDC dc);

    EditModel model_;
    UINT_PTR timer_ = UINT_PTR(-1);
};

}  // namespace kestro
