#pragma once
// The push button and the base of the button family: five state styles, a caption
// with margins, and a small visual state machine.
#include <windows.h>

#include <string>

#include "uikit/controls/button_states.h"
#include "uikit/object/ui_object.h"
#include "uikit/skin/painters.h"

namespace kestro {

class UIResource;

// Names of the five state styles in the skin, in style-index order.
extern const char* const kStateStyleNames[kStateStyleCount];

class UIButton : public UIObject {
public:
    UIButton();

    bool Load(UIResource* resource, const char* path, const JValue* base) override;
    void Paint(HDC dc, const RECT& rect, const RECT& clip) override;
    LRESULT MouseEnter(WPARAM wParam, POINT point) override;
    LRESULT MouseLeave(WPARAM wParam, POINT point) override;
    LRESULT MouseDown(WPARAM wParam, POINT point) override;
    LRESULT MouseDblClk(WPARAM wParam, POINT point) override;
    LRESULT MouseUp(WPARAM wParam, POINT point) override;
    LRESULT VisibleChanged(bool visible) override;

    void SetText(const wchar_t* text);
    const std::wstring& GetText() const { return caption_; }
    int GetState() const { return state_; }
    const ImageStyle& GetImageStyle(int index) const { return images_[index]; }
    TextStyle& GetTextStyle(int index) { return texts_[index]; }

protected:
    // The style index the button paints now.
    virtual int StyleIndex() const;
    // Reads "id", "size", the five image styles under the node's `imagePrefix` and
    // the "Text" node; false when the control's node is missing.
    bool LoadButtonStyles(UIResource* resource, const char* path, const JValue* base, const char* imagePrefix);
    void PaintFace(HDC dc, int index, const ImageStyle& image);
    // The notification protocol: ChildNotify on the parent, then WM_COMMAND to the window.
    void NotifyCommand();

    ImageStyle images_[kStateStyleCount];
    TextStyle texts_[kStateStyleCount];
    RECT textMargin_{0, 0, 0, 0};
    int state_ = kVisualNormal;
    std::wstring caption_;
};

}  // namespace kestro
