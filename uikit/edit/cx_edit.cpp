#include "uikit/edit/cx_edit.h"

#include <objidl.h>
#include <gdiplus.h>
#include <windowsx.h>

#include "uikit/skin/gdiplus_session.h"
#include "uikit/skin/toolkit_fonts.h"

namespace kestro {
namespace {

using namespace Gdiplus::DllExports;

// Caret: a black line, alpha 254 like all text, 14 pixels tall, 2 pixels after the text.
constexpr int kCaretHeight = 14;
constexpr int kCaretGap = 2;
constexpr int kSelectionHeight = 17;

// Fills with GDI+ so a layered back buffer keeps opaque pixels.
void FillArgb(HDC dc, int x, int y, int w, int h, Gdiplus::ARGB argb) {
    if (w <= 0 || h <= 0) return;
    GdiplusScope gdiplus;
    if (!gdiplus.ok()) return;
    Gdiplus::GpGraphics* graphics = nullptr;
    if (GdipCreateFromHDC(dc, &graphics) != Gdiplus::Ok) return;
    Gdiplus::GpSolidFill* brush = nullptr;
    if (GdipCreateSolidFill(argb, &brush) == Gdiplus::Ok) {
        GdipFillRectangleI(graphics, brush, x, y, w, h);
        GdipDeleteBrush(brush);
    }
    GdipDeleteGraphics(graphics);
}

}  // namespace

std::vector<int> CXEdit::PrefixWidths(HDC dc) {
    const std::wstring& text = model_.Text();
    std::vector<int> widths(text.size() + 1, 0);
    if (!dc || text.empty()) return widths;
    HGDIOBJ previous = SelectObject(dc, normal_.font ? normal_.font : ToolkitNormalFont());
    std::vector<int> partial(text.size(), 0);
    SIZE total{0, 0};
    int fitted = 0;
    if (GetTextExtentExPointW(dc, text.c_str(), int(text.size()), INT_MAX, &fitted, partial.data(), &total)) {
        for (size_t i = 0; i < text.size(); ++i) widths[i + 1] = partial[i];
    }
    SelectObject(dc, previous);
    return widths;
}

void CXEdit::Paint(HDC dc, const RECT& rect, const RECT& clip) {
    PaintImageStyle(rect_, bkgnd_, dc);
    RECT box = TextBox();
    OffsetRect(&box, 0, -scrollOffset_);
    const int boxHeight = box.bottom - box.top;
    TextStyle black = normal_;
    black.color = RGB(0, 0, 0);
    black.align &= ~uint32_t(kTextCenter | kTextRight);
    const std::wstring& text = model_.Text();
    const std::vector<int> widths = PrefixWidths(dc);
    auto drawPiece = [&](size_t from, size_t to, const TextStyle& style) {
        if (to <= from) return;
        RECT piece = box;
        piece.left = box.left + widths[from];
        DrawTextStyle(piece, text.substr(from, to - from).c_str(), dc, nullptr, style);
    };

    if (!model_.HasSelection()) {
        drawPiece(0, text.size(), black);
        if (model_.CaretVisible()) {
            const int x = box.left + widths[model_.Caret()] + kCaretGap;
            const int y = box.top + (boxHeight - (kCaretHeight + 2)) / 2;
            FillArgb(dc, x, y, 1, kCaretHeight, 0xFE000000);
        }
        return;
    }
    const size_t start = model_.SelectionStart();
    const size_t end = model_.SelectionEnd();
    drawPiece(0, start, black);
    const int fillTop = box.top + (boxHeight - (kSelectionHeight + 1)) / 2;
    FillArgb(dc, box.left + widths[start] + kCaretGap, fillTop, widths[end] - widths[start], kSelectionHeight,
             kSelectionArgb);
    TextStyle white = black;
    white.color = RGB(255, 255, 255);
    drawPiece(start, end, white);
    drawPiece(end, text.size(), black);
}

size_t CXEdit::IndexAtPoint(POINT point) {
    const int x = point.x - (rect_.left + margin_.left);
    return EditIndexAtX(PrefixWidths(GetMemDC()), x);
}

void CXEdit::Notify() {
    text_ = model_.Text();
    if (parent_) parent_->ChildNotify(this, WM_COMMAND, kEditChangeNotification, 0);
    Invalidate();
}

void CXEdit::Apply(const EditOutcome& outcome) {
    if (outcome.textChanged) {
        Notify();
    } else if (outcome.repaint) {
        Invalidate();
    }
}

void CXEdit::SetText(const wchar_t* text) {
    model_.SetText(text ? text : L"");
    text_ = model_.Text();
    Notify();
}

LRESULT CXEdit::KeyDown(WPARAM wParam, LPARAM) {
    Apply(model_.KeyDown(unsigned(wParam)));
    return 0;
}

LRESULT CXEdit::CharInput(WPARAM wParam, LPARAM) {
    Apply(model_.CharInput(unsigned(wParam)));
    return 0;
}

LRESULT CXEdit::MouseDown(WPARAM, POINT point) {
    const size_t anchor = IndexAtPoint(point);
    model_.PlaceCaret(anchor);
    Invalidate();
    RunDragSelection(model_.Caret());
    return 0;
}

void CXEdit::RunDragSelection(size_t anchor) {
    HWND root = GetRootWindow();
    if (!root) return;
    SetCapture(root);
    size_t last = anchor;
    MSG msg;
    bool selecting = true;
    while (selecting && GetCapture() == root) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(int(msg.wParam));
            break;
        }
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == root) {
            const size_t index = IndexAtPoint(POINT{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)});
            if (index != last) {
                last = index;
                model_.SelectBetween(anchor, index);
                Invalidate();
            }
            continue;
        }
        if (msg.message == WM_LBUTTONUP) {
            selecting = false;
        } else if (msg.message == WM_KEYDOWN) {
            if (msg.wParam == VK_ESCAPE) selecting = false;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (GetCapture() == root) ReleaseCapture();
    model_.SetCaretVisible(true);
    Invalidate();
}

LRESULT CXEdit::MouseDblClk(WPARAM, POINT) {
    model_.SelectAll();
    Invalidate();
    return 0;
}

LRESULT CXEdit::FocusGained(UIObject*) {
    model_.SetCaretVisible(true);
    const UINT_PTR id = SetObjTimer(this, kCaretBlinkMs);
    timer_ = id ? id : UINT_PTR(-1);
    Invalidate();
    return 0;
}

LRESULT CXEdit::FocusLost(UIObject*) {
    model_.SetCaretVisible(false);
    if (timer_ != UINT_PTR(-1)) KillObjTimer(timer_);
    timer_ = UINT_PTR(-1);
    Invalidate();
    return 0;
}

void CXEdit::TimerTick(UINT_PTR id) {
    if (id != timer_) {
        KillObjTimer(id);
        return;
    }
    model_.SetCaretVisible(!model_.CaretVisible());
    Invalidate();
}

bool CXEdit::CursorQuery() {
    ::SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
    return true;
}

}  // namespace kestro
