#pragma once
// A text box that edits through a native edit window while it has the focus and
// otherwise paints its text, or a cue text, itself.
#include <memory>
#include <string>

#include "services/win/unique_handle.h"
#include "uikit/edit/cx_edit_wnd.h"
#include "uikit/edit/ui_edit_box.h"

namespace kestro {

// Shown while the box is empty.
extern const wchar_t* const kEditCueText;
constexpr int kEditCtrlDefaultMaxLength = 255;

class CXEditCtrl : public UIEditBox {
public:
    CXEditCtrl();
    ~CXEditCtrl() override;

    void Paint(HDC dc, const RECT& rect, const RECT& clip) override;
    LRESULT MouseDown(WPARAM wParam, POINT point) override;
    LRESULT FocusLost(UIObject* next) override;
    LRESULT FocusGained(UIObject* previous) override;
    bool CursorQuery() override;
    // While the native window exists, its text.
    std::wstring GetText() const override;

    // Copies the native window's text into the control (and back into the window).
    void PullText();
    // Called by the native window when it is detached (destroyed).
    void NativeWindowGone(CXEditWnd* window);

    HWND GetNativeWindow() const { return native_ ? native_->GetHwnd() : nullptr; }
    void SetChildId(int id) { childId_ = id; }
    void SetMaxLength(int length) { maxLength_ = length; }
    void SetReadOnly(bool on) { readOnly_ = on; }
    void SetPassword(bool on, wchar_t character = L'*') { password_ = on, passwordChar_ = character; }
    void SetExtraStyle(DWORD bits) { extraStyle_ = bits; }
    // The control frees a replacement font; the toolkit's shared font is never freed.
    void SetFont(HFONT font);
    bool IsFocused() const { return focused_; }

private:
    bool CreateNativeWindow();
    RECT NativeRect() const;

    int childId_ = 0;
    std::unique_ptr<CXEditWnd> native_;
    std::unique_ptr<CXEditWnd> retired_;  // a destroyed window's object, freed later
    int maxLength_ = kEditCtrlDefaultMaxLength;
    bool readOnly_ = false;
    bool password_ = false;
    wchar_t passwordChar_ = L'*';
    DWORD extraStyle_ = 0;
    UniqueFont font_;
    bool focused_ = false;
};

}  // namespace kestro
