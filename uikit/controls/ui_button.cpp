#include "uikit/controls/ui_button.h"

#include <string>

#include "uikit/skin/ui_resource.h"

namespace kestro {

const char* const kStateStyleNames[kStateStyleCount] = {"normal", "grayed", "lighted", "pressed", "focused"};

UIButton::UIButton() { kind_ = kKindButton; }

bool UIButton::LoadButtonStyles(UIResource* resource, const char* path, const JValue* base, const char* imagePrefix) {
    if (!resource) return false;
    const std::optional<JValue> node = resource->FindNode(path, base);
    if (!node) return false;
    id_ = resource->GetInt("id", &*node);
    const std::array<int, 4> size = resource->GetRect("size", &*node);
    SetLayout(size[0], size[1], size[2], size[3]);
    for (int i = 0; i < kStateStyleCount; ++i) {
        const std::string name = std::string(imagePrefix) + kStateStyleNames[i];
        images_[i] = resource->GetImageStyle(name.c_str(), &*node);
    }
    const std::optional<JValue> text = resource->FindNode("Text", &*node);
    if (!text) return true;
    const std::array<int, 4> margin = resource->GetRect("margin", &*text);
    textMargin_ = RECT{margin[0], margin[1], margin[2], margin[3]};
    for (int i = 0; i < kStateStyleCount; ++i) texts_[i] = resource->GetTextStyle(kStateStyleNames[i], &*text);
    return true;
}

bool UIButton::Load(UIResource* resource, const char* path, const JValue* base) {
    return LoadButtonStyles(resource, path, base, "");
}

int UIButton::StyleIndex() const { return ButtonStyleIndex(state_, IsEnabled()); }

void UIButton::PaintFace(HDC dc, int index, const ImageStyle& image) {
    PaintImageStyle(rect_, image, dc);
    if (caption_.empty()) return;
    RECT text{rect_.left + textMargin_.left, rect_.top + textMargin_.top, rect_.right - textMargin_.right,
              rect_.bottom - textMargin_.bottom};
    // A pressed face sinks its caption by one pixel.
    if (index == kStylePressed) OffsetRect(&text, 1, 1);
    DrawTextStyle(text, caption_.c_str(), dc, nullptr, texts_[index]);
}

void UIButton::Paint(HDC dc, const RECT& rect, const RECT& clip) {
    const int index = StyleIndex();
    PaintFace(dc, index, images_[index]);
}

void UIButton::SetText(const wchar_t* text) {
    caption_ = text ? text : L"";
    Invalidate();
}

void UIButton::NotifyCommand() {
    const WPARAM id = LOWORD(id_);
    if (parent_) parent_->ChildNotify(this, WM_COMMAND, id, reinterpret_cast<LPARAM>(this));
    SendToWindow(WM_COMMAND, id, reinterpret_cast<LPARAM>(GetRootWindow()));
}

LRESULT UIButton::MouseEnter(WPARAM, POINT) {
    if (IsEnabled() && IsVisible() && state_ != kVisualLighted) {
        state_ = kVisualLighted;
        Invalidate();
    }
    return 0;
}

LRESULT UIButton::MouseLeave(WPARAM, POINT) {
    if (state_ != kVisualNormal) {
        state_ = kVisualNormal;
        Invalidate();
    }
    return 0;
}

LRESULT UIButton::MouseDown(WPARAM, POINT) {
    if (state_ != kVisualPressed) {
        state_ = kVisualPressed;
        Invalidate();
    }
    return 0;
}

LRESULT UIButton::MouseDblClk(WPARAM wParam, POINT point) { return UIButton::MouseDown(wParam, point); }

LRESULT UIButton::MouseUp(WPARAM, POINT) {
    if (state_ != kVisualLighted) {
        state_ = kVisualLighted;
        Invalidate();
    }
    NotifyCommand();
    return 0;
}

LRESULT UIButton::VisibleChanged(bool visible) {
    state_ = kVisualNormal;
    return 1;
}

}  // namespace kestro
