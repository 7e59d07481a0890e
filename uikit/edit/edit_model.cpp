#include "uikit/edit/edit_model.h"

#include <algorithm>

namespace kestro {

void EditModel::SetText(const std::wstring& text) {
    const bool differs = text != text_;
    text_ = text;
    if (differs) caret_ = selectionStart_ = selectionEnd_ = text_.size();
    Clamp();
}

void EditModel::Clamp() {
    const size_t length = text_.size();
    caret_ = std::min(caret_, length);
    selectionEnd_ = std::min(selectionEnd_, length);
    selectionStart_ = std::min(selectionStart_, selectionEnd_);
}

void EditModel::DeleteSelection() {
    text_.erase(selectionStart_, selectionEnd_ - selectionStart_);
    caret_ = selectionStart_;
    selectionEnd_ = selectionStart_;
}

EditOutcome EditModel::KeyDown(unsigned keyCode) {
    EditOutcome out;
    switch (keyCode) {
        case kEditKeyBackspace:
            if (caret_ == 0) break;
            if (HasSelection()) {
                DeleteSelection();
            } else {
                text_.erase(caret_ - 1, 1);
                --caret_;
                selectionStart_ = selectionEnd_ = caret_;
            }
            out.textChanged = out.repaint = true;
            break;
        case kEditKeyEscape:
            caretVisible_ = false;
            out.repaint = true;
            break;
        case kEditKeyEnd:
            caret_ = text_.size();
            selectionStart_ = selectionEnd_ = caret_;
            out.repaint = true;
            break;
        case kEditKeyHome:
            caret_ = selectionStart_ = selectionEnd_ = 0;
            out.repaint = true;
            break;
        case kEditKeyLeft:
            if (HasSelection()) caret_ = selectionStart_ = selectionEnd_ = text_.size();
            if (caret_ > 0) --caret_;
            out.repaint = true;
            break;
        case kEditKeyRight:
            if (HasSelection()) selectionEnd_ = selectionStart_;
            caret_ = std::min(caret_ + 1, text_.size());
            out.repaint = true;
            break;
        case kEditKeyDelete:
            if (HasSelection()) {
                DeleteSelection();
                out.textChanged = out.repaint = true;
            } else if (caret_ < text_.size()) {
                text_.erase(caret_, 1);
                selectionStart_ = selectionEnd_ = caret_;
                out.textChanged = out.repaint = true;
            }
            break;
        default:
            break;
    }
    Clamp();
    return out;
}

EditOutcome EditModel::CharInput(unsigned charCode) {
    EditOutcome out;
    if (charCode < kEditFirstAcceptedChar || charCode > kEditLastAcceptedChar) return out;
    if (HasSelection()) {
        DeleteSelection();
        out.textChanged = true;
    }
    if (maxLength_ < 0 || text_.size() < size_t(maxLength_)) {
        text_.insert(caret_, 1, wchar_t(charCode));
        ++caret_;
        selectionStart_ = selectionEnd_ = caret_;
        out.textChanged = true;
    }
    out.repaint = out.textChanged;
    Clamp();
    return out;
}

void EditModel::SelectAll() {
    selectionStart_ = 0;
    selectionEnd_ = caret_ = text_.size();
    caretVisible_ = true;
}

void EditModel::PlaceCaret(size_t index) {
    caret_ = selectionStart_ = selectionEnd_ = index;
    Clamp();
}

void EditModel::SelectBetween(size_t anchor, size_t index) {
    selectionStart_ = std::min(anchor, index);
    selectionEnd_ = std::max(anchor, index);
    Clamp();
}

size_t EditIndexAtX(const std::vector<int>& prefixWidths, int x) {
    if (prefixWidths.empty()) return 0;
    const size_t length = prefixWidths.size() - 1;
    if (x > prefixWidths[length]) return length;
    if (x < 0) return 0;
    for (size_t k = 1; k <= length; ++k) {
        if (prefixWidths[k] >= x) {
            return prefixWidths[k] - x < x - prefixWidths[k - 1] ? k : k - 1;
        }
    }
    return 0;
}

}  // namespace kestro
