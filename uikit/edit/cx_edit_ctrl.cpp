#include "uikit/edit/cx_edit_ctrl.h"

#include <vector>

#include "uikit/skin/toolkit_fonts.h"

namespace kestro {
namespace {

// The native window sits 4 pixels inside the box; a single line is 22 pixels tall.
constexpr int kNativeInset = 4;
constexpr int kNativeLineHeight = 22;
constexpr int kCueDx = 5;
constexpr int kCueDy = 1;

}  // namespace

const wchar_t* const kEditCueText = L"其他原因，请输入";

CXEditCtrl::CXEditCtrl() = default;

CXEditCtrl::~CXEditCtrl() {
    if (native_ && native_->GetHwnd() && IsWindow(native_->GetHwnd())) PostMessageW(native_->GetHwnd(), WM_CLOSE, 0, 0);
    native_.reset();
    retired_.reset();
}

void CXEditCtrl::SetFont(HFONT font) { font_.reset(font); }

RECT CXEditCtrl::NativeRect() const {
    RECT r{rect_.left + kNativeInset, rect_.top + kNativeInset, rect_.right - kNativeInset,
           rect_.bottom - kNativeInset};
    const int height = rect_.bottom - rect_.top;
    if (!scrolling_ && height - 2 * kNativeInset > kNativeLineHeight) {
        r.top = rect_.top + kNativeInset + (height - 2 * kNativeInset - kNativeLineHeight) / 2;
        r.bottom = r.top + kNativeLineHeight;
    }
    return r;
}

bool CXEditCtrl::CreateNativeWindow() {
    HWND root = GetRootWindow();
    if (!root) return false;
    DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
    if (password_) style |= ES_PASSWORD;
    if (scrolling_) style |= WS_VSCROLL | ES_MULTILINE;
    const RECT r = NativeRect();
    HWND window = CreateWindowExW(0, L"Edit", L"", style, r.left, r.top, r.right - r.left, r.bottom - r.top, root,
                                  reinterpret_cast<HMENU>(INT_PTR(childId_)), GetModuleHandleW(nullptr), nullptr);
    if (!window) return false;
    auto wrapper = std::make_unique<CXEditWnd>(this);
    if (!wrapper->Attach(window)) {
        DestroyWindow(window);
        return false;
    }
    native_ = std::move(wrapper);
    HFONT font = font_ ? font_.get() : SharedDefaultFont();
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageW(window, EM_LIMITTEXT, WPARAM(maxLength_), 0);
    if (password_) SendMessageW(window, EM_SETPASSWORDCHAR, WPARAM(passwordChar_), 0);
    SetWindowTextW(window, text_.c_str());
    SendMessageW(window, EM_SETMODIFY, FALSE, 0);
    native_->ClearEditMargins();
    EnableWindow(window, IsEnabled());
    SendMessageW(window, EM_SETREADONLY, readOnly_, 0);
    if (extraStyle_) SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) | LONG(extraStyle_));
    ShowWindow(window, SW_SHOWNA);
    SetFocus(window);
    native_->SetActive(true);
    return true;
}

void CXEditCtrl::PullText() {
    HWND window = GetNativeWindow();
    if (!window) return;
    const int length = GetWindowTextLengthW(window);
    std::vector<wchar_t> buffer(size_t(length) + 1, L'\0');
    GetWindowTextW(window, buffer.data(), length + 1);
    text_.assign(buffer.data());
    SetWindowTextW(window, text_.c_str());
    Invalidate();
}

void CXEditCtrl::NativeWindowGone(CXEditWnd* window) {
    if (native_.get() != window) return;
    // The object may still be on the call stack of its last message: freed later.
    retired_ = std::move(native_);
    Invalidate();
}

std::wstring CXEditCtrl::GetText() const {
    HWND window = GetNativeWindow();
    if (!window || !IsWindow(window)) return text_;
    const int length = GetWindowTextLengthW(window);
    std::vector<wchar_t> buffer(size_t(length) + 1, L'\0');
    GetWindowTextW(window, buffer.data(), length + 1);
    return std::wstring(buffer.data());
}

void CXEditCtrl::Paint(HDC dc, const RECT& rect, const RECT& clip) {
    PaintImageStyle(rect_, bkgnd_, dc);
    if (!text_.empty()) {
        RECT text = textRect_;
        OffsetRect(&text, 1, 1);
        DrawTextStyle(text, text_.c_str(), dc, nullptr, normal_);
        return;
    }
    RECT cue = textRect_;
    OffsetRect(&cue, kCueDx, kCueDy);
    DrawTextStyle(cue, kEditCueText, dc, nullptr, grayed_);
}

LRESULT CXEditCtrl::FocusGained(UIObject*) {
    if (!native_) {
        retired_.reset();
        CreateNativeWindow();
        Invalidate();
    }
    focused_ = true;
    return 0;
}

LRESULT CXEditCtrl::MouseDown(WPARAM, POINT) {
    if (!IsEnabled()) return 0;
    ReleaseCapture();
    if (HWND window = GetNativeWindow()) {
        const int length = GetWindowTextLengthW(window);
        SendMessageW(window, EM_SETSEL, 0, length > 0 ? length : 1);
    } else if (focused_) {
        retired_.reset();
        CreateNativeWindow();
    }
    return 0;
}

LRESULT CXEditCtrl::FocusLost(UIObject*) {
    focused_ = false;
    return 0;
}

bool CXEditCtrl::CursorQuery() {
    ::SetCursor(LoadCursorW(nullptr, IsEnabled() ? IDC_IBEAM : IDC_ARROW));
    return true;
}

}  // namespace kestro
