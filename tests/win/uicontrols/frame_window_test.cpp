#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "services/win/unique_handle.h"
#include "tests/win/uikit/test_images.h"
#include "ui_test_support.h"
#include "uikit/core/skin_package.h"
#include "uikit/controls/ui_button.h"
#include "uikit/frame/cl_shadow_wnd.h"
#include "uikit/frame/ui_frame_window.h"

namespace kestro {
namespace {

using namespace test;

// Logs system commands; a close request is only logged, so the window stays.
class LoggingFrame : public UIFrameWindow {
public:
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam) override {
        commands.push_back(wParam & 0xFFF0);
        if ((wParam & 0xFFF0) == SC_CLOSE) return 0;
        return UIFrameWindow::OnSysCommand(wParam, lParam);
    }
    LRESULT OnWindowPosChanging(WPARAM wParam, LPARAM lParam) override {
        if (lParam) shadows.Follow(hwnd_, *reinterpret_cast<const WINDOWPOS*>(lParam));
        return UIFrameWindow::OnWindowPosChanging(wParam, lParam);
    }
    std::vector<WPARAM> commands;
    DropShadows shadows;
};

LRESULT HitAt(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
}

RECT ScreenRect(const std::shared_ptr<CLShadwWnd>& shadow) {
    RECT r{};
    GetWindowRect(shadow->GetHwnd(), &r);
    return r;
}

void ClickObject(HWND window, const UIObject* object) {
    const RECT& r = object->GetRect();
    ClickAt(window, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

TEST(FrameWindow, ResizableFrameHitTestsSystemButtonsAndShadows) {
    SampleSkin();
    LoggingFrame frame;
    ASSERT_TRUE(frame.Create(WS_POPUP | WS_THICKFRAME | WS_CAPTION | WS_MAXIMIZEBOX | WS_MINIMIZEBOX, L"frame",
                             kCHWindowClass, 0, 100, 100, nullptr, nullptr, 528, 348));
    HWND hwnd = frame.GetHwnd();
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & WS_CAPTION, 0);
    ASSERT_TRUE(frame.Load(&SampleSkin(), "Gallery", nullptr));
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    Pump(50);
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 528);  // the whole window is client area
    EXPECT_EQ(client.bottom, 348);
    EXPECT_EQ(frame.GetClientArea().top, 40);

    EXPECT_EQ(HitAt(hwnd, 2, 1), HTTOPLEFT);
    EXPECT_EQ(HitAt(hwnd, 526, 1), HTTOPRIGHT);
    EXPECT_EQ(HitAt(hwnd, 100, 1), HTTOP);
    EXPECT_EQ(HitAt(hwnd, 100, 30), HTCAPTION);
    EXPECT_EQ(HitAt(hwnd, 0, 200), HTLEFT);
    EXPECT_EQ(HitAt(hwnd, 300, 347), HTBOTTOM);
    EXPECT_EQ(HitAt(hwnd, 527, 346), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAt(hwnd, 300, 200), HTCLIENT);
    UIButton* close = frame.GetSysButton(UIFrameWindow::kSysClose);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->GetRect().left, 488);
    EXPECT_EQ(HitAt(hwnd, 505, 20), HTCLIENT);

    // Shadows hug the owner and follow it.
    ASSERT_TRUE(frame.shadows.Create(hwnd));
    frame.shadows.PlaceAround(100, 100, 528, 348);
    const RECT bottom = ScreenRect(frame.shadows.Get(kShadowBottom));
    EXPECT_EQ(bottom.left, 73);
    EXPECT_EQ(bottom.top, 448);
    EXPECT_EQ(bottom.right, 655);
    EXPECT_EQ(bottom.bottom, 480);
    auto shadow = frame.shadows.Get(kShadowBottom);
    EXPECT_TRUE(GetWindowLongW(shadow->GetHwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(GetWindowLongW(shadow->GetHwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindow(shadow->GetHwnd(), GW_OWNER), hwnd);
    EXPECT_TRUE(IsWindowVisible(shadow->GetHwnd()));
    // Dense next to the owner, fading to nothing at the far edge.
    SendMessageW(shadow->GetHwnd(), 0x6400, 0, 0);
    const uint8_t* bits = shadow->GetBackBufferBits();
    ASSERT_NE(bits, nullptr);
    const SIZE size = shadow->GetBackBufferSize();
    auto alphaAt = [&](int x, int y) { return bits[(size_t(size.cy - 1 - y) * size_t(size.cx) + size_t(x)) * 4 + 3]; };
    EXPECT_GT(alphaAt(size.cx / 2, 0), 60);
    EXPECT_LT(alphaAt(size.cx / 2, size.cy - 1), 12);
    EXPECT_LT(alphaAt(0, 0), alphaAt(size.cx / 2, 0));

    SetWindowPos(hwnd, nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT left = ScreenRect(frame.shadows.Get(kShadowLeft));
    EXPECT_EQ(left.left, 123);
    EXPECT_EQ(left.top, 120);
    EXPECT_EQ(left.bottom, 468);

    // System buttons become system commands; close is only logged here.
    ClickObject(hwnd, close);
    ASSERT_EQ(frame.commands.size(), 1u);
    EXPECT_EQ(frame.commands[0], WPARAM(SC_CLOSE));

    UIButton* maximize = frame.GetSysButton(UIFrameWindow::kSysMaximize);
    UIButton* restore = frame.GetSysButton(UIFrameWindow::kSysRestore);
    ASSERT_NE(maximize, nullptr);
    ASSERT_NE(restore, nullptr);
    EXPECT_FALSE(restore->IsVisible());
    ClickObject(hwnd, maximize);
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(hwnd) != FALSE; }));
    EXPECT_EQ(frame.commands.back(), WPARAM(SC_MAXIMIZE));
    EXPECT_FALSE(maximize->IsVisible());
    EXPECT_TRUE(restore->IsVisible());

    ClickObject(hwnd, restore);
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(hwnd) == FALSE; }));
    EXPECT_EQ(frame.commands.back(), WPARAM(SC_RESTORE));
    EXPECT_TRUE(maximize->IsVisible());
    EXPECT_FALSE(restore->IsVisible());
    MoveMouse(nullptr, 1, 1);
}

TEST(FrameWindow, FixedFrameDragsByTheTitleStripOutsideItsControls) {
    SampleSkin();
    LoggingFrame frame;
    ASSERT_TRUE(frame.Create(WS_POPUP, L"fixed", kCHWindowClass, 0, 100, 100, nullptr, nullptr, 528, 348));
    ASSERT_TRUE(frame.Load(&SampleSkin(), "Gallery", nullptr));
    HWND hwnd = frame.GetHwnd();
    EXPECT_EQ(HitAt(hwnd, 2, 1), HTCAPTION);
    EXPECT_EQ(HitAt(hwnd, 100, 30), HTCAPTION);
    EXPECT_EQ(HitAt(hwnd, 505, 20), HTCLIENT);
    EXPECT_EQ(HitAt(hwnd, 0, 200), HTCLIENT);
    // A control that lets clicks through (a label) keeps the caption.
    frame.GetSysButton(UIFrameWindow::kSysClose)->SetHitThrough(true);
    EXPECT_EQ(HitAt(hwnd, 505, 20), HTCAPTION);
}

TEST(FrameWindow, MagentaCornersOfTheTopSideAreCutFromTheWindowRegion) {
    SampleSkin();
    // A 24-bit top side whose outer 2 x 2 corners are magenta, with 4-pixel corner margins.
    const std::string top = test::EncodePng(10, 40, false, [](int x, int y) -> uint32_t {
        return (y < 2 && (x < 2 || x >= 8)) ? 0xFF00FFu : 0x203040u;
    });
    SkinPackage package;
    package.description = R"({"cfg": {"Frame": {"Frames": {"Top": {"normal": {"bi": 300, "bg": [0, 0, 10, 40], "mg": [4, 4, 4, 0]}}}}},
                              "res": {"images": [{"id": 300, "name": "top.png"}]}})";
    package.records = {{300, top}};
    const std::string bytes = WriteSkinPackage(package);
    UIResource skin;
    ASSERT_TRUE(skin.LoadFromBuffer(bytes.data(), bytes.size()));

    UIFrameWindow frame;
    ASSERT_TRUE(frame.Create(WS_POPUP, L"cut", kCHWindowClass, 0, 100, 100, nullptr, nullptr, 528, 348));
    ASSERT_TRUE(frame.Load(&skin, "Frame", nullptr));
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(frame.GetHwnd(), region.get()), ERROR);
    EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
    EXPECT_FALSE(PtInRegion(region.get(), 1, 1));
    EXPECT_TRUE(PtInRegion(region.get(), 2, 2));
    EXPECT_TRUE(PtInRegion(region.get(), 0, 2));
    EXPECT_FALSE(PtInRegion(region.get(), 527, 0));
    EXPECT_TRUE(PtInRegion(region.get(), 525, 0));
    EXPECT_TRUE(PtInRegion(region.get(), 100, 0));
    EXPECT_TRUE(PtInRegion(region.get(), 528, 348));  // the region reaches one pixel past the window

    // A window that is never shown is never painted to cut its corners.
    UIFrameWindow hidden;
    ASSERT_TRUE(hidden.Create(WS_POPUP, L"never shown", kCHWindowClass, 0, 100, 100, nullptr, nullptr, 528, 348));
    hidden.SetNeverShown();
    ASSERT_TRUE(hidden.Load(&skin, "Frame", nullptr));
    UniqueRegion none(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(hidden.GetHwnd(), none.get()), ERROR);
}

}  // namespace
}  // namespace kestro
