#pragma once
#include <string>
#include <vector>

namespace kestro {

// Key codes the single-line editor reacts to (virtual-key values).
enum EditKey {
    kEditKeyBackspace = 8,
    kEditKeyEscape = 27,
    kEditKeyEnd = 35,
    kEditKeyHome = 36,
    kEditKeyLeft = 37,
    kEditKeyRight = 39,
    kEditKeyDelete = 46,
};

// The printable range the editor accepts: no space, no "~", nothing beyond ASCII.
constexpr unsigned kEditFirstAcceptedChar = 33;
constexpr unsigned kEditLastAcceptedChar = 125;

// What an input did, so the control knows whether to notify and repaint.
struct EditOutcome {
    bool textChanged = false;
    bool repaint = false;
};

// The text, caret and selection of the self-drawn single-line editor, without any
// drawing. The selection is [selectionStart, selectionEnd); equal ends mean none.
// Every operation leaves caret and selection inside the text.
class EditModel {
public:
    const std::wstring& Text() const { return text_; }
    size_t Caret() const { return caret_; }
    size_t SelectionStart() const { return selectionStart_; }
    size_t SelectionEnd() const { return selectionEnd_; }
    bool HasSelection() const { return selectionStart_ != selectionEnd_; }
    bool CaretVisible() const { return caretVisible_; }
    int MaxLength() const { return maxLength_; }

    void SetMaxLength(int maxLength) { maxLength_ = maxLength; }
    void SetCaretVisible(bool visible) { caretVisible_ = visible; }

    // Stores the text; a different text puts the caret at its end and drops the selection.
    void SetText(const std::wstring& text);

    EditOutcome KeyDown(unsigned keyCode);
    EditOutcome CharInput(unsigned charCode);

    // Double click: everything selected, caret at the end and shown.
    void SelectAll();

    // Mouse press at a character index: caret and both selection ends there.
    void PlaceCaret(size_t index);
    // Drag from the press's index (the anchor) to index.
    void SelectBetween(size_t anchor, size_t index);

private:
    void DeleteSelection();
    void Clamp();

    std::wstring text_;
    size_t caret_ = 0;
    size_t selectionStart_ = 0;
    size_t selectionEnd_ = 0;
    bool caretVisible_ = false;
    int maxLength_ = -1;
};

// The character boundary under a point x pixels right of where the text starts.
// prefixWidths[k] is the width of the first k characters (prefixWidths[0] = 0).
size_t EditIndexAtX(const std::vector<int>& prefixWidths, int x);

}  // namespace kestro
