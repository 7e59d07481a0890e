#include "uikit/object/ui_object.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "test_images.h"
#include "tests/win/support/ui_input.h"
#include "uikit/skin/painters.h"
#include "uikit/window/ch_app.h"

namespace kestro {
namespace {

using test::MouseButton;
using test::MoveMouse;
using test::Pump;
using test::PumpUntil;

std::vector<std::string> g_log;

// Logs its object events as "name:event".
class Probe : public UIObject {
public:
    explicit Probe(std::string name, int x = 0, int y = 0, int w = 0, int h = 0) : name_(std::move(name)) {
        SetLayout(x, y, w, h);
    }
    LRESULT MouseEnter(WPARAM, POINT) override { return Log("enter"); }
    LRESULT MouseLeave(WPARAM, POINT) override { return Log("leave"); }
    LRESULT MouseMove(WPARAM, POINT) override { return Log("move"); }
    LRESULT MouseDown(WPARAM, POINT) override { return Log("down"); }
    LRESULT MouseUp(WPARAM, POINT) override { return Log("up"); }
    LRESULT KeyDown(WPARAM key, LPARAM) override { return Log("key" + std::to_string(key)); }
    LRESULT CharInput(WPARAM c, LPARAM) override { return Log("char" + std::to_string(c)); }
    LRESULT FocusGained(UIObject*) override { return Log("focus+"); }
    LRESULT FocusLost(UIObject*) override { return Log("focus-"); }
    void TimerTick(UINT_PTR id) override { Log("tick" + std::to_string(id)); }
    LRESULT ChildNotify(UIObject* sender, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (!GetParent()) {
            Log("notify" + std::to_string(wParam));
            return 1;
        }
        return UIObject::ChildNotify(sender, message, wParam, lParam);
    }
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override {
        Log("command" + std::to_string(LOWORD(wParam)));
        return UIObject::OnCommand(wParam, lParam);
    }
    void Paint(HDC dc, const RECT& rect, const RECT&) override {
        if (!fill) return;
        test::FillSolid(dc, rect, fill);
    }
    COLORREF fill = 0;

private:
    LRESULT Log(const std::string& what) {
        g_log.push_back(name_ + ":" + what);
        return 0;
    }
    std::string name_;
};

bool Logged(const std::string& entry) {
    return std::find(g_log.begin(), g_log.end(), entry) != g_log.end();
}

class UIObjectWindow : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterCHWindowClass(GetModuleHandleW(nullptr));
        g_log.clear();
        root = new Probe("root");
        ASSERT_TRUE(root->Create(WS_POPUP, L"objects", nullptr, WS_EX_TOPMOST, 200, 150, nullptr, nullptr, 300, 200));
        // A size change lays the tree out from the client rectangle. Never activated
        // unless a test clicks: Wine waits up to 2 s when it hides an active window.
        SetWindowPos(root->GetHwnd(), nullptr, 0, 0, 320, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(root->GetHwnd(), SW_SHOWNOACTIVATE);
        Pump(30);
    }
    void TearDown() override {
        delete root;
        MoveMouse(GetDesktopWindow(), 1, 1);
        Pump(20);
    }
    Probe* root = nullptr;
};

TEST_F(UIObjectWindow, ChildrenAreLaidOutByAnchorModeFromTheRootRectangle) {
    EXPECT_EQ(root->GetRect().right, 320);
    auto* sys = new Probe("sys", -40, 10, 34, 28);
    root->AddChild(sys);
    EXPECT_EQ(sys->GetRect().left, 280);
    EXPECT_EQ(sys->GetRect().right, 314);
    SetWindowPos(root->GetHwnd(), nullptr, 0, 0, 528, 348, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(sys->GetRect().left, 488);
    EXPECT_EQ(sys->GetRect().top, 10);
    EXPECT_EQ(sys->GetRect().right, 522);
    EXPECT_EQ(sys->GetRect().bottom, 38);

    auto* plain = new Probe("plain");
    plain->SetAnchorMode(1);
    root->AddChild(plain);
    EXPECT_TRUE(IsRectEmpty(&plain->GetRect()));  // width 0: never laid out by the parent
    plain->SetPos(34, 28, -40, 10);
    EXPECT_EQ(plain->GetRect().left, -40);
    EXPECT_EQ(plain->GetRect().right, -6);
    EXPECT_EQ(plain->GetRect().bottom, 38);
    plain->SetPos(-1, 40, 5, 5);  // width kept
    EXPECT_EQ(plain->GetRect().right, 39);
    EXPECT_EQ(plain->GetRect().bottom, 45);
}

TEST_F(UIObjectWindow, HoverMovesFromChildToSiblingInOrder) {
    auto* a = new Probe("A", 10, 10, 50, 50);
    auto* b = new Probe("B", 100, 10, 50, 50);
    root->AddChild(a);
    root->AddChild(b);
    MoveMouse(root->GetHwnd(), 20, 20);
    ASSERT_TRUE(PumpUntil([] { return Logged("A:move"); }));
    EXPECT_EQ(root->GetHoverChild(), a);
    EXPECT_TRUE(a->IsHovered());
    g_log.clear();
    MoveMouse(root->GetHwnd(), 120, 20);
    ASSERT_TRUE(PumpUntil([] { return Logged("root:move"); }));
    const std::vector<std::string> expected{"A:leave", "B:enter", "B:move", "root:move"};
    EXPECT_EQ(g_log, expected);
    // The hovered object's cursor is the one shown; none falls back to the default.
    EXPECT_FALSE(root->CursorQuery());
    HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    b->SetCursor(hand);
    EXPECT_TRUE(root->CursorQuery());
    EXPECT_EQ(GetCursor(), hand);
    b->SetEnabled(false);
    EXPECT_FALSE(root->CursorQuery());
    b->SetEnabled(true);
    // Moving inside B reaches only B: the root's hover child did not change.
    g_log.clear();
    MoveMouse(root->GetHwnd(), 125, 25);
    ASSERT_TRUE(PumpUntil([] { return Logged("B:move"); }));
    Pump(30);
    EXPECT_FALSE(Logged("root:move"));
    // Leaving the window clears the whole chain.
    g_log.clear();
    MoveMouse(GetDesktopWindow(), 5, 5);
    ASSERT_TRUE(PumpUntil([] { return Logged("B:leave"); }));
    EXPECT_TRUE(Logged("root:leave"));
    EXPECT_EQ(root->GetHoverChild(), nullptr);
    EXPECT_FALSE(b->IsHovered());
}

TEST_F(UIObjectWindow, OverlappingChildrenTheLaterOneTakesInputAndPaintsOnTop) {
    auto* under = new Probe("under", 10, 10, 80, 80);
    auto* over = new Probe("over", 50, 50, 80, 80);
    under->fill = RGB(255, 0, 0);
    over->fill = RGB(0, 0, 255);
    root->AddChild(under);
    root->AddChild(over);
    RedrawWindow(root->GetHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC mem = root->GetMemDC();
    ASSERT_NE(mem, nullptr);
    EXPECT_EQ(GetPixel(mem, 20, 20), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(mem, 60, 60), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(mem, 120, 120), RGB(0, 0, 255));
    MoveMouse(root->GetHwnd(), 60, 60);
    ASSERT_TRUE(PumpUntil([] { return Logged("over:move"); }));
    EXPECT_FALSE(Logged("under:enter"));
    MouseButton(true);
    MouseButton(false);
    ASSERT_TRUE(PumpUntil([] { return Logged("over:up"); }));
    EXPECT_TRUE(Logged("over:down"));
    EXPECT_FALSE(Logged("under:down"));
    // A hidden child neither paints nor takes the pointer.
    over->SetVisible(false);
    RedrawWindow(root->GetHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(GetPixel(mem, 60, 60), RGB(255, 0, 0));
    EXPECT_EQ(root->ChildAt(POINT{60, 60}), under);
}

TEST_F(UIObjectWindow, ClicksMoveTheFocusAndKeysGoToTheFocusObject) {
    auto* a = new Probe("A", 10, 10, 50, 50);
    auto* b = new Probe("B", 100, 10, 50, 50);
    root->AddChild(a);
    root->AddChild(b);
    // No focus object: keys reach the root.
    PostMessageW(root->GetHwnd(), WM_KEYDOWN, 'K', 0);
    ASSERT_TRUE(PumpUntil([] { return Logged("root:key75"); }));

    MoveMouse(root->GetHwnd(), 20, 20);
    ASSERT_TRUE(PumpUntil([] { return Logged("A:move"); }));
    MouseButton(true);
    ASSERT_TRUE(PumpUntil([] { return Logged("A:down"); }));
    MouseButton(false);
    ASSERT_TRUE(PumpUntil([] { return Logged("A:up"); }));
    EXPECT_EQ(root->GetFocusObject(), a);
    EXPECT_TRUE(Logged("A:focus+"));
    g_log.clear();
    PostMessageW(root->GetHwnd(), WM_KEYDOWN, 'Q', 0);
    PostMessageW(root->GetHwnd(), WM_CHAR, 'q', 0);
    ASSERT_TRUE(PumpUntil([] { return Logged("A:char113"); }));
    EXPECT_TRUE(Logged("A:key81"));
    EXPECT_FALSE(Logged("root:key81"));

    // A disabled object: neither focus nor the press reaches it.
    b->SetEnabled(false);
    g_log.clear();
    MoveMouse(root->GetHwnd(), 120, 20);
    ASSERT_TRUE(PumpUntil([] { return Logged("B:move"); }));  // hover still tracked
    MouseButton(true);
    MouseButton(false);
    Pump(100);
    EXPECT_FALSE(Logged("B:down"));
    EXPECT_FALSE(Logged("B:up"));
    EXPECT_FALSE(Logged("A:focus-"));
    EXPECT_EQ(root->GetFocusObject(), a);

    // A press on the root itself drops the focus.
    MoveMouse(root->GetHwnd(), 250, 150);
    ASSERT_TRUE(PumpUntil([] { return Logged("root:move"); }));
    MouseButton(true);
    MouseButton(false);
    ASSERT_TRUE(PumpUntil([] { return Logged("root:down"); }));
    EXPECT_TRUE(Logged("A:focus-"));
    EXPECT_EQ(root->GetFocusObject(), nullptr);
}

TEST_F(UIObjectWindow, ObjectTimersNumberFromTheMapAndTickTheirObject) {
    auto* a = new Probe("A", 10, 10, 50, 50);
    root->AddChild(a);
    const UINT_PTR first = a->SetObjTimer(a, 20);
    const UINT_PTR second = a->SetObjTimer(root, 5000);
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(second, 2u);
    EXPECT_TRUE(a->KillObjTimer(2));
    EXPECT_EQ(a->SetObjTimer(root, 5000), 2u);
    ASSERT_TRUE(PumpUntil([] { return Logged("A:tick1"); }));
    // While the window is hidden a kill is refused and the timer keeps running.
    ShowWindow(root->GetHwnd(), SW_HIDE);
    EXPECT_FALSE(a->KillObjTimer(1));
    g_log.clear();
    ASSERT_TRUE(PumpUntil([] { return Logged("A:tick1"); }));
    ShowWindow(root->GetHwnd(), SW_SHOWNOACTIVATE);
    EXPECT_TRUE(a->KillObjTimer(1));
    // A tree without a window has no timers.
    Probe loose("loose");
    EXPECT_EQ(loose.SetObjTimer(&loose, 10), 0u);
}

TEST_F(UIObjectWindow, ActionsBubbleToTheRootAndReachItsWindow) {
    auto* pane = new Probe("pane", 0, 0, 100, 100);
    auto* leaf = new Probe("leaf", 5, 5, 10, 10);
    root->AddChild(pane);
    pane->AddChild(leaf);
    EXPECT_EQ(leaf->GetRootWindow(), root->GetHwnd());
    EXPECT_EQ(leaf->ChildNotify(leaf, WM_COMMAND, 42, 0), 1);
    EXPECT_TRUE(Logged("root:notify42"));
    leaf->SendToWindow(WM_COMMAND, 43, LPARAM(root->GetHwnd()));
    EXPECT_TRUE(Logged("root:command43"));
    leaf->PostToWindow(WM_COMMAND, 44, 0);
    ASSERT_TRUE(PumpUntil([] { return Logged("root:command44"); }));
    Probe loose("loose");
    EXPECT_EQ(loose.SendToWindow(WM_COMMAND, 1, 0), 0);
}

TEST_F(UIObjectWindow, DeletingAFocusedSubtreeLeavesNoDanglingPointers) {
    auto* pane = new Probe("pane", 0, 0, 100, 100);
    auto* leaf = new Probe("leaf", 5, 5, 30, 30);
    root->AddChild(pane);
    pane->AddChild(leaf);
    MoveMouse(root->GetHwnd(), 10, 10);
    ASSERT_TRUE(PumpUntil([] { return Logged("leaf:move"); }));
    MouseButton(true);
    MouseButton(false);
    ASSERT_TRUE(PumpUntil([] { return Logged("leaf:up"); }));
    leaf->SetObjTimer(leaf, 10);
    ASSERT_EQ(root->GetFocusObject(), leaf);
    delete pane;
    EXPECT_EQ(root->GetFocusObject(), nullptr);
    EXPECT_EQ(root->GetHoverChild(), nullptr);
    EXPECT_TRUE(root->GetChildren().empty());
    PostMessageW(root->GetHwnd(), WM_KEYDOWN, 'Z', 0);
    ASSERT_TRUE(PumpUntil([] { return Logged("root:key90"); }));
    Pump(50);  // the leaf's timer must not fire into freed memory
}

TEST_F(UIObjectWindow, ToolTipRectanglesFollowLayoutAndVisibility) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                               root->GetHwnd(), nullptr, nullptr, nullptr);
    ASSERT_NE(tip, nullptr);
    root->SetTooltipWindow(tip);  // owned by the root from now on
    auto* a = new Probe("A", 10, 10, 50, 50);
    a->SetHasTooltip(true);
    TOOLINFOW info{};
    info.cbSize = 44;
    info.hwnd = root->GetHwnd();
    info.uId = reinterpret_cast<UINT_PTR>(a);
    info.lpszText = const_cast<wchar_t*>(L"tip");
    ASSERT_TRUE(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)));
    auto rectOfTool = [&] {
        TOOLINFOW query{};
        query.cbSize = 44;
        query.hwnd = root->GetHwnd();
        query.uId = reinterpret_cast<UINT_PTR>(a);
        SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&query));
        return query.rect;
    };
    root->AddChild(a);
    EXPECT_EQ(rectOfTool().left, 10);
    EXPECT_EQ(rectOfTool().bottom, 60);
    a->SetPos(30, 30, 100, 20);
    EXPECT_EQ(rectOfTool().left, 100);
    EXPECT_EQ(rectOfTool().right, 130);
    a->SetVisible(false);
    EXPECT_EQ(rectOfTool().left, -1);
    EXPECT_EQ(rectOfTool().right, 0);
    a->SetVisible(true);
    EXPECT_EQ(rectOfTool().right, 130);
}

class AlphaChild : public UIObject {
public:
    AlphaChild() {
        SetLayout(10, 10, 40, 40);
        test::FillBitmap(image, 4, 4, 32, [](int, int) { return 0x80FFFFFFu; });
    }
    void Paint(HDC dc, const RECT& rect, const RECT&) override {
        ImageStyle style;
        style.image = &image;
        style.w = style.h = 4;
        PaintImageStyle(rect, style, dc);
    }
    CHBitmap image;
};

TEST(UIObjectLayered, LayeredRootPaintsPerPixelAlpha) {
    RegisterCHWindowClass(GetModuleHandleW(nullptr));
    UIObject root;
    ASSERT_TRUE(root.Create(WS_POPUP, L"", nullptr, WS_EX_TOOLWINDOW, 50, 50, nullptr, nullptr, 10, 10));
    EXPECT_TRUE(root.SetLayered());
    EXPECT_TRUE(GetWindowLongW(root.GetHwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    SetWindowPos(root.GetHwnd(), nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    root.AddChild(new AlphaChild);
    ShowWindow(root.GetHwnd(), SW_SHOWNOACTIVATE);  // the first show paints the whole window
    const uint8_t* bits = root.GetBackBufferBits();
    ASSERT_NE(bits, nullptr);
    const SIZE size = root.GetBackBufferSize();
    EXPECT_EQ(size.cx, 100);
    EXPECT_EQ(size.cy, 80);
    auto pixel = [&](int x, int y) { return bits + size_t(size.cy - 1 - y) * size_t(size.cx) * 4 + size_t(x) * 4; };
    GdiFlush();
    EXPECT_NEAR(pixel(20, 20)[3], 128, 1);
    EXPECT_NEAR(pixel(20, 20)[0], 128, 1);  // premultiplied white
    EXPECT_EQ(pixel(5, 5)[3], 0);
    EXPECT_EQ(pixel(60, 60)[3], 0);
    // A repaint starts from transparent pixels, it does not blend over the last frame.
    root.Invalidate();
    GdiFlush();
    EXPECT_NEAR(pixel(20, 20)[3], 128, 1);
}

}  // namespace
}  // namespace kestro
