#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "sample_skin.h"
#include "ui_test_support.h"
#include "uikit/controls/control_metrics.h"
#include "uikit/controls/ui_button.h"
#include "uikit/controls/ui_check_box.h"
#include "uikit/controls/ui_drop_button.h"
#include "uikit/controls/ui_label.h"
#include "uikit/controls/ui_pane.h"
#include "uikit/controls/ui_progress.h"
#include "uikit/controls/ui_radio_box.h"
#include "uikit/controls/ui_tab_ctrl.h"
#include "uikit/controls/ui_tool_bar.h"
#include "uikit/edit/control_factory.h"
#include "uikit/edit/ui_edit_box.h"
#include "uikit/lists/ui_header.h"
#include "uikit/lists/ui_list_view.h"
#include "uikit/lists/ui_scroll_bar.h"
#include "uikit/skin/toolkit_fonts.h"

namespace kestro {
namespace {

using namespace test;

template <class T>
T* Make(TestRoot* root, int type, const char* path) {
    return static_cast<T*>(CreateChild(type, &SampleSkin(), root, path, GalleryNode()));
}

// Bounding box of the caption's white pixels inside a rectangle of the back buffer.
RECT WhiteBox(HDC dc, const RECT& area) {
    RECT box{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            if (GetRValue(c) > 230 && GetGValue(c) > 230 && GetBValue(c) > 230) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
    }
    return box;
}

class ControlsWindow : public ::testing::Test, public RootFixture {};

TEST_F(ControlsWindow, ButtonLightsPressesSinksItsCaptionAndNotifiesOnRelease) {
    auto* button = Make<UIButton>(root, kTypeButton, "Button");  // (20, 56, 110, 34)
    button->SetText(L"OK");
    EXPECT_EQ(PixelAt(30, 75), sample::kButtonNormal);

    MoveMouse(hwnd(), 60, 70);
    EXPECT_EQ(button->GetState(), kVisualLighted);
    EXPECT_EQ(PixelAt(30, 75), sample::kButtonLighted);
    const RECT lighted = WhiteBox(root->GetMemDC(), button->GetRect());
    ASSERT_LT(lighted.left, lighted.right);

    MouseButton(true);
    EXPECT_EQ(button->GetState(), kVisualPressed);
    EXPECT_EQ(PixelAt(30, 75), sample::kButtonPressed);
    const RECT pressed = WhiteBox(root->GetMemDC(), button->GetRect());
    EXPECT_EQ(pressed.left, lighted.left + 1);
    EXPECT_EQ(pressed.top, lighted.top + 1);
    EXPECT_EQ(pressed.right, lighted.right + 1);
    EXPECT_EQ(pressed.bottom, lighted.bottom + 1);
    EXPECT_TRUE(root->reports.empty());

    MouseButton(false);
    EXPECT_EQ(button->GetState(), kVisualLighted);
    ASSERT_EQ(root->CountNotifies(WM_COMMAND, 1001), 1);
    EXPECT_EQ(root->reports[0].sender, button);
    EXPECT_EQ(root->reports[0].lParam, reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(root->CountCommands(1001), 1);

    MoveMouse(hwnd(), 300, 300);
    EXPECT_EQ(button->GetState(), kVisualNormal);
}

TEST_F(ControlsWindow, DisabledButtonPaintsGrayedAndIgnoresClicks) {
    auto* button = Make<UIButton>(root, kTypeButton, "Button");
    button->SetEnabled(false);
    EXPECT_EQ(PixelAt(30, 75), sample::kButtonGrayed);
    ClickAt(hwnd(), 60, 70);
    EXPECT_EQ(PixelAt(30, 75), sample::kButtonGrayed);
    EXPECT_EQ(button->GetState(), kVisualNormal);
    EXPECT_TRUE(root->reports.empty());
    EXPECT_EQ(root->GetFocusObject(), nullptr);
}

TEST_F(ControlsWindow, CheckBoxTogglesOnlyForAPressAndReleaseOverIt) {
    auto* box = Make<UICheckBox>(root, kTypeCheckBox, "CheckBox");  // (20, 134, 150, 22)
    // Pressed outside, released over the box.
    MoveMouse(hwnd(), 250, 20);
    MouseButton(true);
    MoveMouse(hwnd(), 30, 145);
    MouseButton(false);
    EXPECT_FALSE(box->GetCheck());
    EXPECT_TRUE(root->reports.empty());

    ClickAt(hwnd(), 30, 145);
    EXPECT_TRUE(box->GetCheck());
    EXPECT_EQ(root->CountNotifies(WM_COMMAND, 1002), 1);
    // A box with a parent reports only to the tree.
    EXPECT_EQ(root->CountCommands(1002), 0);

    // A checked box shows pressed under the pointer; a stray release keeps it checked.
    MoveMouse(hwnd(), 250, 20);
    MouseButton(true);
    MoveMouse(hwnd(), 30, 145);
    MouseButton(false);
    EXPECT_TRUE(box->GetCheck());

    ClickAt(hwnd(), 30, 145);
    EXPECT_FALSE(box->GetCheck());
    EXPECT_EQ(root->CountNotifies(WM_COMMAND, 1002), 2);

    box->SetCheck(true);
    EXPECT_TRUE(box->GetCheck());
    EXPECT_EQ(root->CountNotifies(WM_COMMAND, 1002), 2);
}

TEST_F(ControlsWindow, RadioBoxUnchecksItsSiblingAndAClickOnTheCheckedOneIsSilent) {
    auto* a = Make<UIRadioBox>(root, kTypeRadioBox, "Radio");  // (20, 182, 100, 22)
    auto* b = Make<UIRadioBox>(root, kTypeRadioBox, "Radio");
    b->SetPos(-1, -1, 140, 182);
    a->SetCheck(true);

    ClickAt(hwnd(), 150, 192);
    EXPECT_TRUE(b->GetCheck());
    EXPECT_FALSE(a->GetCheck());
    EXPECT_EQ(root->CountNotifies(WM_COMMAND, 1004), 1);
    EXPECT_EQ(root->CountCommands(1004), 1);

    ClickAt(hwnd(), 150, 192);
    EXPECT_TRUE(b->GetCheck());
    EXPECT_EQ(root->CountNotifies(WM_COMMAND, 1004), 1);
    EXPECT_EQ(root->CountCommands(1004), 1);

    b->SetLocked(true);
    ClickAt(hwnd(), 30, 192);
    EXPECT_TRUE(a->GetCheck());  // a is not locked
    EXPECT_FALSE(b->GetCheck());
    a->SetLocked(true);
    ClickAt(hwnd(), 150, 192);
    EXPECT_FALSE(b->GetCheck());
}

TEST_F(ControlsWindow, ProgressFillsInProportionAndStopsAtItsEdge) {
    auto* bar = Make<UIProgress>(root, kTypeProgress, "Progress");
    bar->SetPos(10, 8, 20, 214);
    EXPECT_EQ(PixelAt(20, 217), sample::kProgressBack);  // range 0-0: background only
    bar->SetRangeDefault();
    bar->SetProgressPos(50);
    EXPECT_EQ(PixelAt(24, 217), sample::kProgressFill);
    EXPECT_EQ(PixelAt(25, 217), sample::kProgressBack);
    bar->SetProgressPos(150);
    EXPECT_EQ(PixelAt(29, 217), sample::kProgressFill);
    EXPECT_NE(PixelAt(30, 217), sample::kProgressFill);
}

TEST_F(ControlsWindow, TabItemsAreTextPlusPaddingAndAClickReportsTheItemId) {
    auto* tabs = Make<UITabCtrl>(root, kTypeTabCtrl, "Tabs");  // (20, 232, 490, 30)
    tabs->AddItem(3001, L"A");
    tabs->AddItem(3002, L"Advanced settings of the game centre");
    HFONT font = SampleSkin().GetFont(200);
    HDC dc = root->GetMemDC();
    HGDIOBJ old = SelectObject(dc, font);
    SIZE shortText{}, longText{};
    GetTextExtentPoint32W(dc, L"A", 1, &shortText);
    GetTextExtentPoint32W(dc, L"Advanced settings of the game centre", 36, &longText);
    SelectObject(dc, old);
    ASSERT_LT(shortText.cx, 45);
    ASSERT_GT(longText.cx, 45);
    const auto& items = tabs->GetItems();
    EXPECT_EQ(items[0].rect.right - items[0].rect.left, 80);
    EXPECT_EQ(items[1].rect.left, items[0].rect.right);
    EXPECT_EQ(items[1].rect.right - items[1].rect.left, longText.cx + 35);

    ClickAt(hwnd(), items[1].rect.left + 10, 245);
    EXPECT_EQ(tabs->GetSelected(), 1);
    EXPECT_EQ(root->CountNotifies(WM_COMMAND, 3002), 1);
    EXPECT_EQ(root->CountCommands(3002), 1);
    ClickAt(hwnd(), items[1].rect.left + 10, 245);
    EXPECT_EQ(root->CountCommands(3002), 1);
    tabs->SetEnabled(false);
    ClickAt(hwnd(), items[0].rect.left + 10, 245);
    EXPECT_EQ(tabs->GetSelected(), 1);
}

TEST_F(ControlsWindow, ToolBarItemsReportTheirCommandsAndKeepTheirToolTips) {
    auto* bar = Make<UIToolBar>(root, kTypeToolBar, "ToolBar");
    bar->SetPos(200, 36, 10, 10);
    bar->SetImageStrip(SampleSkin().GetImage(sample::kToolStrip, true));
    bar->SetItemSize(24, 24);
    bar->SetSpacing(4, 0);
    bar->AddItem(2001, 0, L"停止");
    bar->AddItem(2002, 1, L"开始");
    bar->AddSeparator();
    bar->AddItem(2003, 2, L"播放");
    bar->AddItem(2004, 3, L"添加", false);
    const auto& items = bar->GetItems();
    EXPECT_EQ(items[0].rect.left, 14);
    EXPECT_EQ(items[1].rect.left, 46);
    EXPECT_EQ(items[3].rect.left, 88);  // after a separator 2 + 2 x 4 wide
    EXPECT_EQ(items[0].rect.top, 16);

    ASSERT_NE(bar->GetTooltip(), nullptr);
    EXPECT_EQ(SendMessageW(bar->GetTooltip(), TTM_GETTOOLCOUNT, 0, 0), 4);
    bar->SetItemVisible(0, false);
    EXPECT_EQ(SendMessageW(bar->GetTooltip(), TTM_GETTOOLCOUNT, 0, 0), 3);
    bar->SetItemVisible(0, true);

    ClickAt(hwnd(), 62, 28);
    EXPECT_EQ(root->CountCommands(2002), 1);
    EXPECT_EQ(root->CountNotifies(WM_COMMAND, 2002), 1);
    EXPECT_EQ(bar->GetHotItem(), 1);
    ClickAt(hwnd(), 136, 28);  // not clickable
    EXPECT_EQ(root->CountCommands(2004), 0);
    ClickAt(hwnd(), 83, 28);  // the separator
    EXPECT_EQ(root->reports.size(), 2u);
    MoveMouse(hwnd(), 300, 300);
    EXPECT_EQ(bar->GetHotItem(), -1);
}

TEST_F(ControlsWindow, DropButtonAsksTheWindowAndStaysPressedWhileDropping) {
    struct DropProbe : UIDropButton {
        void Drop() override {
            pressedDuring = GetState() == kVisualPressed && IsDropping();
            UIDropButton::Drop();
        }
        bool pressedDuring = false;
    };
    auto* drop = new DropProbe();
    drop->Load(&SampleSkin(), "DropButton", GalleryNode());  // (20, 96, 230, 30)
    root->AddChild(drop);
    ClickAt(hwnd(), 60, 110);
    EXPECT_TRUE(drop->pressedDuring);
    EXPECT_EQ(root->CountCommands(1005), 1);
    ASSERT_FALSE(root->reports.empty());
    EXPECT_EQ(root->reports.back().lParam, 0);
    EXPECT_EQ(root->CountNotifies(WM_COMMAND, 1005), 0);
    EXPECT_EQ(drop->GetState(), kVisualLighted);  // the pointer is still over it
}

TEST_F(ControlsWindow, FactoryCreatesEveryControlByTypeCodeLoadsAndAddsIt) {
    struct Expect {
        int type;
        int kind;
        bool (*is)(UIObject*);
    };
    const Expect table[] = {
        {kTypePane, kKindPane, [](UIObject* o) { return dynamic_cast<UIPane*>(o) != nullptr; }},
        {kTypeButton, kKindButton, [](UIObject* o) { return dynamic_cast<UIButton*>(o) != nullptr; }},
        {kTypeToolBar, kKindToolBar, [](UIObject* o) { return dynamic_cast<UIToolBar*>(o) != nullptr; }},
        {kTypeTabCtrl, kKindTabCtrl, [](UIObject* o) { return dynamic_cast<UITabCtrl*>(o) != nullptr; }},
        {kTypeListView, kKindObject, [](UIObject* o) { return dynamic_cast<UIListView*>(o) != nullptr; }},
        {kTypeScrollBar, kKindObject, [](UIObject* o) { return dynamic_cast<UIScrollBar*>(o) != nullptr; }},
        {kTypeHeader, kKindObject, [](UIObject* o) { return dynamic_cast<UIHeader*>(o) != nullptr; }},
        {kTypeLabel, kKindObject, [](UIObject* o) { return dynamic_cast<UILabel*>(o) != nullptr; }},
        {kTypeCheckBox, kKindCheckBox,
         [](UIObject* o) { return dynamic_cast<UICheckBox*>(o) && !dynamic_cast<UICheckBoxEx*>(o); }},
        {kTypeCheckBoxEx, kKindCheckBox, [](UIObject* o) { return dynamic_cast<UICheckBoxEx*>(o) != nullptr; }},
        {kTypeRadioBox, kKindRadioBox, [](UIObject* o) { return dynamic_cast<UIRadioBox*>(o) != nullptr; }},
        {kTypeProgress, kKindProgress, [](UIObject* o) { return dynamic_cast<UIProgress*>(o) != nullptr; }},
        {kTypeDropButton, kKindDropButton, [](UIObject* o) { return dynamic_cast<UIDropButton*>(o) != nullptr; }},
        {kTypeEditBox, kKindEditBox, [](UIObject* o) { return dynamic_cast<UIEditBox*>(o) != nullptr; }},
    };
    for (const Expect& e : table) {
        UIObject* o = CreateChild(e.type, nullptr, root, nullptr, nullptr);
        ASSERT_NE(o, nullptr) << e.type;
        EXPECT_TRUE(e.is(o)) << e.type;
        EXPECT_EQ(o->GetKind(), e.kind) << e.type;
        EXPECT_EQ(o->GetParent(), root) << e.type;
    }
    for (int unknown : {0, 5, 16, -1}) EXPECT_EQ(CreateChild(unknown, &SampleSkin(), root, "Button", GalleryNode()), nullptr);
    // With a resource the control is loaded from its node.
    UIObject* button = CreateChild(kTypeButton, &SampleSkin(), root, "Button", GalleryNode());
    EXPECT_EQ(button->GetId(), 1001);
    EXPECT_EQ(button->GetRect().left, 20);
    EXPECT_EQ(button->GetRect().bottom, 90);
    // Drop buttons lay their captions out on the left, whatever the skin says.
    auto* drop = static_cast<UIDropButton*>(CreateChild(kTypeDropButton, &SampleSkin(), root, "DropButton", GalleryNode()));
    EXPECT_EQ(drop->GetTextStyle(kStyleNormal).align, kDropButtonTextAlign);
}

}  // namespace
}  // namespace kestro
