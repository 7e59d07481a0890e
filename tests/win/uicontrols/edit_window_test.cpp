#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ui_test_support.h"
#include "uikit/edit/control_factory.h"
#include "uikit/edit/cx_edit.h"
#include "uikit/edit/cx_edit_ctrl.h"
#include "uikit/edit/ui_edit_box.h"

namespace kestro {
namespace {

using namespace test;

class EditWindow : public ::testing::Test, public RootFixture {};

int Changes(TestRoot* root) { return root->CountNotifies(WM_COMMAND, kEditChangeNotification); }

TEST_F(EditWindow, CXEditTakesKeysAndRefusesSpaceAndTilde) {
    auto* edit = new CXEdit();
    ASSERT_TRUE(edit->Load(&SampleSkin(), "Edit", GalleryNode()));
    root->AddChild(edit);
    edit->SetPos(170, 32, 20, 20);
    edit->SetText(L"abc");
    EXPECT_EQ(Changes(root), 1);
    EXPECT_EQ(edit->GetModel().Caret(), 3u);

    ClickAt(hwnd(), 180, 36);  // right of the text: caret at the end
    EXPECT_EQ(root->GetFocusObject(), edit);
    EXPECT_TRUE(edit->GetModel().CaretVisible());
    EXPECT_EQ(edit->GetModel().Caret(), 3u);

    PressKey(VK_HOME);
    PressKey(VK_RIGHT);
    EXPECT_EQ(edit->GetModel().Caret(), 1u);
    const int before = Changes(root);
    TypeChar(L' ');
    TypeChar(L'~');
    EXPECT_EQ(edit->GetText(), L"abc");
    EXPECT_EQ(Changes(root), before);
    TypeChar(L'a');
    EXPECT_EQ(edit->GetText(), L"aabc");
    EXPECT_EQ(edit->GetModel().Caret(), 2u);
    EXPECT_EQ(Changes(root), before + 1);
    PressKey(VK_END);
    EXPECT_EQ(edit->GetModel().Caret(), 4u);
    PressKey(VK_DELETE);
    EXPECT_EQ(edit->GetText(), L"aabc");
    EXPECT_EQ(Changes(root), before + 1);
    PressKey(VK_BACK);
    EXPECT_EQ(edit->GetText(), L"aab");

    // A double click selects everything; the next character replaces it.
    ClickAt(hwnd(), 40, 36);
    ClickAt(hwnd(), 40, 36);
    EXPECT_EQ(edit->GetModel().SelectionStart(), 0u);
    EXPECT_EQ(edit->GetModel().SelectionEnd(), 3u);
    TypeChar(L'x');
    EXPECT_EQ(edit->GetText(), L"x");
    EXPECT_EQ(edit->GetModel().Caret(), 1u);

    // Focus elsewhere hides the caret and stops its timer.
    ClickAt(hwnd(), 300, 300);
    EXPECT_FALSE(edit->GetModel().CaretVisible());
}

TEST_F(EditWindow, CXEditSelectsByDraggingFromThePressedCharacter) {
    auto* edit = new CXEdit();
    edit->Load(&SampleSkin(), "Edit", GalleryNode());
    root->AddChild(edit);
    edit->SetPos(170, 32, 20, 20);
    edit->SetText(L"abcdef");
    const int textLeft = 20 + 8;  // the box's left text margin
    MoveMouse(hwnd(), textLeft, 36);
    DragLater(hwnd(), {POINT{100, 36}, POINT{185, 40}});
    MouseButton(true);
    ASSERT_TRUE(PumpUntil([] { return GetCapture() == nullptr; }));
    EXPECT_EQ(edit->GetModel().SelectionStart(), 0u);
    EXPECT_EQ(edit->GetModel().SelectionEnd(), 6u);
    EXPECT_EQ(edit->GetModel().Caret(), 0u);
    EXPECT_TRUE(edit->GetModel().CaretVisible());
    // Backspace at caret 0 keeps the selection; Delete removes it.
    PressKey(VK_BACK);
    EXPECT_EQ(edit->GetText(), L"abcdef");
    PressKey(VK_DELETE);
    EXPECT_EQ(edit->GetText(), L"");
}

TEST_F(EditWindow, CXEditCaretBlinksWhileFocused) {
    auto* edit = new CXEdit();
    edit->Load(&SampleSkin(), "Edit", GalleryNode());
    root->AddChild(edit);
    edit->SetPos(170, 32, 20, 20);
    ClickAt(hwnd(), 40, 36);
    ASSERT_TRUE(edit->GetModel().CaretVisible());
    EXPECT_TRUE(PumpUntil([&] { return !edit->GetModel().CaretVisible(); }, 1500));
    EXPECT_TRUE(PumpUntil([&] { return edit->GetModel().CaretVisible(); }, 1500));
}

TEST_F(EditWindow, CXEditCtrlEditsInANativeWindowOnlyWhileFocused) {
    auto* edit = new CXEditCtrl();
    ASSERT_TRUE(edit->Load(&SampleSkin(), "EditCtrl", GalleryNode()));
    root->AddChild(edit);
    edit->SetPos(170, 32, 20, 80);
    edit->SetChildId(77);
    EXPECT_EQ(edit->GetNativeWindow(), nullptr);
    // The cue text is painted in the empty box: something darker than the white face.
    Repaint();
    bool cue = false;
    for (int x = 26; x < 120 && !cue; ++x)
        for (int y = 88; y < 104 && !cue; ++y) cue = GetRValue(GetPixel(root->GetMemDC(), x, y)) < 200;
    EXPECT_TRUE(cue);

    ClickAt(hwnd(), 100, 96);
    HWND native = edit->GetNativeWindow();
    ASSERT_NE(native, nullptr);
    wchar_t cls[16] = {};
    GetClassNameW(native, cls, 16);
    EXPECT_STREQ(cls, L"Edit");
    EXPECT_EQ(GetParent(native), hwnd());
    EXPECT_EQ(GetDlgCtrlID(native), 77);
    EXPECT_EQ(GetFocus(), native);
    RECT r{};
    GetWindowRect(native, &r);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 24);
    EXPECT_EQ(r.right, 186);
    EXPECT_EQ(r.bottom - r.top, 22);
    EXPECT_EQ(r.top, 85);

    for (wchar_t c : std::wstring(L"hello")) TypeChar(c);
    EXPECT_EQ(edit->GetText(), L"hello");
    ClickAt(hwnd(), 300, 300);
    ASSERT_TRUE(PumpUntil([&] { return edit->GetNativeWindow() == nullptr; }));
    EXPECT_FALSE(IsWindow(native));
    EXPECT_EQ(edit->GetText(), L"hello");

    // Clicking the box again opens a new native window with the text.
    ClickAt(hwnd(), 100, 96);
    ASSERT_NE(edit->GetNativeWindow(), nullptr);
    wchar_t text[16] = {};
    GetWindowTextW(edit->GetNativeWindow(), text, 16);
    EXPECT_STREQ(text, L"hello");
    ClickAt(hwnd(), 300, 300);
    ASSERT_TRUE(PumpUntil([&] { return edit->GetNativeWindow() == nullptr; }));
}

TEST_F(EditWindow, TextBoxWheelScrollsOnlyWhenMuchOfTheTextIsHidden) {
    auto* box = static_cast<UIEditBox*>(CreateChild(kTypeEditBox, &SampleSkin(), root, "TextBox", GalleryNode()));
    box->SetScrolling(true);
    std::wstring text;
    for (int i = 0; i < 40; ++i) text += L"line " + std::to_wstring(i) + L"\n";
    box->SetPos(170, 200, 20, 20);
    box->SetText(text.c_str());
    const int measured = box->GetScrollBar()->GetRange().maximum;
    ASSERT_GT(measured, 500);
    const int margins = 8;  // text margins top and bottom of the sample skin

    box->SetPos(-1, measured - 90 + margins, 20, 20);
    ASSERT_EQ(box->GetScrollBar()->GetRange().maximum - box->GetScrollBar()->GetRange().page, 90);
    MoveMouse(hwnd(), 60, 40);
    Wheel(-WHEEL_DELTA);
    EXPECT_EQ(box->GetScrollOffset(), 0);

    box->SetPos(-1, measured - 400 + margins, 20, 20);
    const int page = box->GetScrollBar()->GetRange().page;
    ASSERT_EQ(box->GetScrollBar()->GetRange().maximum - page, 400);
    Wheel(-WHEEL_DELTA);
    EXPECT_EQ(box->GetScrollOffset(), page / 8);
    Wheel(-WHEEL_DELTA);
    EXPECT_EQ(box->GetScrollOffset(), 2 * (page / 8));
    Wheel(WHEEL_DELTA);
    EXPECT_EQ(box->GetScrollOffset(), page / 8);
}

}  // namespace
}  // namespace kestro
