#include "uikit/controls/ui_label.h"

#include "uikit/skin/ui_resource.h"

namespace kestro {

UILabel::UILabel() {
    style_.align = kLabelDefaultAlign;
    // Clicks on a label in a title strip still drag the window.
    hitThrough_ = 1;
}

UILabel::~UILabel() {
    // A worker may still be inside SetText when the interface thread destroys the
    // label (the window closing while an install reports its status): the lock must
    // outlive that call.
    while (busy_.load() != 0) Sleep(1);
}

bool UILabel::Load(UIResource* resource, const char* path, const JValue* base) {
    if (!resource) return false;
    const std::optional<JValue> node = resource->FindNode(path, base);
    if (!node) return false;
    const std::array<int, 4> size = resource->GetRect("size", &*node);
    SetLayout(size[0], size[1], size[2], size[3]);
    if (resource->FindNode("text", &*node)) style_ = resource->GetTextStyle("text", &*node);
    return true;
}

void UILabel::SetText(const wchar_t* text) {
    ++busy_;
    {
        ScopedLock hold(lock_);
        text_ = text ? text : L"";
    }
    Invalidate();
    --busy_;
}

std::wstring UILabel::GetText() {
    ScopedLock hold(lock_);
    return text_;
}

void UILabel::Paint(HDC dc, const RECT& rect, const RECT& clip) {
    const std::wstring text = GetText();
    if (text.empty()) return;
    DrawTextStyle(rect_, text.c_str(), dc, nullptr, style_);
}

}  // namespace kestro
