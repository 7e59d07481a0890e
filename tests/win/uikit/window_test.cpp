#include "uikit/window/ch_app.h"
#include "uikit/window/ch_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace kestro {
namespace {

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Records what reaches the default procedure and what the hooks see.
class Recorder : public CHWindow {
public:
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back({message, wParam, lParam});
        return CHWindow::DefaultProc(message, wParam, lParam);
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
        if (message == WM_APP + 9) {
            handled = true;
            return 99;
        }
        return CHWindow::OnMessage(message, wParam, lParam, handled);
    }
    void OnSizeChanged() override { ++sizeChanges; }
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override {
        ++notifies;
        return CHWindow::OnNotify(wParam, lParam);
    }
    LRESULT OnReflectNotify(NMHDR* header) override { return reflectResult; }
    bool PreTranslateMessage(MSG* message) override {
        preTranslated.push_back(message->message);
        return consume;
    }
    void OnAttached() override { ++attached; }
    void OnDetached() override { ++detached; }
    bool Saw(UINT message, WPARAM wParam, LPARAM lParam) const {
        for (const Seen& s : seen)
            if (s.message == message && s.wParam == wParam && s.lParam == lParam) return true;
        return false;
    }
    std::vector<Seen> seen;
    std::vector<UINT> preTranslated;
    int sizeChanges = 0, notifies = 0, attached = 0, detached = 0;
    LRESULT reflectResult = 0;
    bool consume = false;
};

class CHWindowTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterCHWindowClass(GetModuleHandleW(nullptr)); }
};

TEST(CHAppTest, InitializeRegistersTheClassOnlyOnce) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    UnregisterClassW(kCHWindowClass, instance);
    CHApp first, second;
    EXPECT_TRUE(first.Initialize(instance, nullptr, L"", SW_SHOW));
    EXPECT_FALSE(second.Initialize(instance, nullptr, L"", SW_SHOW));
    WNDCLASSEXW wc{sizeof(wc)};
    ASSERT_TRUE(GetClassInfoExW(instance, kCHWindowClass, &wc));
    EXPECT_EQ(wc.style, 11u);
    EXPECT_EQ(wc.hbrBackground, reinterpret_cast<HBRUSH>(5));
}

class EntryApp : public CHApp {
public:
    explicit EntryApp(bool start) : start_(start) {}
    bool InitInstance() override {
        ++inits;
        if (start_) PostQuitMessage(3);
        return start_;
    }
    void ExitInstance() override { ++exits; }
    int inits = 0, exits = 0;

private:
    bool start_;
};

TEST(CHAppTest, TheEntryRunsTheLoopOnlyWhenInitialisationSucceeds) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    UnregisterClassW(kCHWindowClass, instance);
    EntryApp refused(false);
    EXPECT_EQ(RunCHApp(refused, instance, nullptr, L"", SW_SHOW), 0);
    EXPECT_EQ(refused.inits, 1);
    EXPECT_EQ(refused.exits, 0);
    EntryApp noClass(true);  // the class exists now: Initialize fails, nothing else runs
    EXPECT_EQ(RunCHApp(noClass, instance, nullptr, L"", SW_SHOW), 0);
    EXPECT_EQ(noClass.inits, 0);
    UnregisterClassW(kCHWindowClass, instance);
    EntryApp runs(true);
    EXPECT_EQ(RunCHApp(runs, instance, nullptr, L"", SW_SHOW), 3);
    EXPECT_EQ(runs.exits, 1);
}

TEST_F(CHWindowTest, HandlersPassTheirOwnMessageUnchangedToTheDefault) {
    Recorder w;
    ASSERT_TRUE(w.Create(WS_POPUP, L"probe", nullptr, 0, 0, 0, nullptr, nullptr, 50, 50));
    EXPECT_EQ(CHWindow::FromHandle(w.GetHwnd()), &w);
    SendMessageW(w.GetHwnd(), WM_KEYUP, 0x41, 0x12345);
    EXPECT_TRUE(w.Saw(WM_KEYUP, 0x41, 0x12345));
    SendMessageW(w.GetHwnd(), WM_APP + 3, 7, 8);  // no handler of its own
    EXPECT_TRUE(w.Saw(WM_APP + 3, 7, 8));
    EXPECT_EQ(SendMessageW(w.GetHwnd(), WM_APP + 9, 0, 0), 99);  // handled: the default never sees it
    EXPECT_FALSE(w.Saw(WM_APP + 9, 0, 0));
}

TEST_F(CHWindowTest, SizeChangesButNotMovesCallTheSizeHook) {
    Recorder w;
    ASSERT_TRUE(w.Create(WS_POPUP, L"", nullptr, 0, 0, 0, nullptr, nullptr, 50, 50));
    const int before = w.sizeChanges;
    SetWindowPos(w.GetHwnd(), nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(w.sizeChanges, before);
    SetWindowPos(w.GetHwnd(), nullptr, 0, 0, 80, 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(w.sizeChanges, before + 1);
}

TEST_F(CHWindowTest, AttachSubclassesOnceAndDetachRestoresTheProcedure) {
    HWND edit = CreateWindowW(L"Edit", L"text", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    const LONG_PTR original = GetWindowLongPtrW(edit, GWLP_WNDPROC);
    Recorder first, second;
    EXPECT_FALSE(first.Attach(nullptr));
    ASSERT_TRUE(first.Attach(edit));
    EXPECT_EQ(first.attached, 1);
    EXPECT_FALSE(second.Attach(edit));
    EXPECT_EQ(CHWindow::FromHandle(edit), &first);
    // Messages now pass through the object and on to the edit control's own procedure.
    SendMessageW(edit, WM_KEYUP, 0x42, 1);
    EXPECT_TRUE(first.Saw(WM_KEYUP, 0x42, 1));
    wchar_t text[16] = {};
    GetWindowTextW(edit, text, 16);
    EXPECT_STREQ(text, L"text");
    EXPECT_EQ(first.Detach(), edit);
    EXPECT_EQ(first.detached, 1);
    EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_WNDPROC), original);
    EXPECT_EQ(CHWindow::FromHandle(edit), nullptr);
    DestroyWindow(edit);
}

TEST_F(CHWindowTest, DestroyingTheWindowUnbindsTheObject) {
    Recorder w;
    ASSERT_TRUE(w.Create(WS_POPUP, L"", nullptr, 0, 0, 0, nullptr, nullptr, 10, 10));
    DestroyWindow(w.GetHwnd());
    EXPECT_EQ(w.GetHwnd(), nullptr);
}

TEST_F(CHWindowTest, NotificationsAreReflectedToTheSourceFirst) {
    Recorder parent, child;
    ASSERT_TRUE(parent.Create(WS_POPUP, L"", nullptr, 0, 0, 0, nullptr, nullptr, 50, 50));
    ASSERT_TRUE(child.Create(WS_CHILD, L"", nullptr, 0, 0, 0, parent.GetHwnd(), nullptr, 10, 10));
    NMHDR header{child.GetHwnd(), 1, 0};
    child.reflectResult = 5;
    EXPECT_EQ(SendMessageW(parent.GetHwnd(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header)), 5);
    EXPECT_EQ(parent.notifies, 0);
    child.reflectResult = 0;
    SendMessageW(parent.GetHwnd(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(parent.notifies, 1);
}

TEST_F(CHWindowTest, MessagesOfAPlainChildReachTheParentsFilter) {
    Recorder parent;
    ASSERT_TRUE(parent.Create(WS_POPUP, L"", nullptr, 0, 0, 0, nullptr, nullptr, 50, 50));
    HWND plain = CreateWindowW(L"Static", L"", WS_CHILD, 0, 0, 10, 10, parent.GetHwnd(), nullptr, nullptr, nullptr);
    MSG message{plain, WM_KEYDOWN, 0x43, 0};
    parent.consume = true;
    EXPECT_TRUE(CHApp::PreTranslate(&message));
    ASSERT_EQ(parent.preTranslated.size(), 1u);
    EXPECT_EQ(parent.preTranslated[0], UINT(WM_KEYDOWN));
    parent.consume = false;
    EXPECT_FALSE(CHApp::PreTranslate(&message));
}

class LoopApp : public CHApp {
public:
    void ExitInstance() override { ++exits; }
    int exits = 0;
};

TEST_F(CHWindowTest, RunFiltersDispatchesAndReturnsTheQuitCode) {
    Recorder w;
    ASSERT_TRUE(w.Create(WS_POPUP, L"", nullptr, 0, 0, 0, nullptr, nullptr, 50, 50));
    PostMessageW(w.GetHwnd(), WM_APP + 4, 1, 2);
    PostQuitMessage(7);
    LoopApp app;
    EXPECT_EQ(app.Run(), 7);
    EXPECT_EQ(app.exits, 1);
    EXPECT_TRUE(w.Saw(WM_APP + 4, 1, 2));
    EXPECT_NE(std::find(w.preTranslated.begin(), w.preTranslated.end(), UINT(WM_APP + 4)), w.preTranslated.end());
}

TEST_F(CHWindowTest, CenterWindowUsesTheDesktopOrTheParentsClientArea) {
    Recorder w;
    ASSERT_TRUE(w.Create(WS_POPUP, L"", nullptr, 0, 3, 4, nullptr, nullptr, 528, 348));
    w.CenterWindow();
    RECT desktop{}, r{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(w.GetHwnd(), &r);
    EXPECT_EQ(r.left, desktop.left + (desktop.right - desktop.left - 528) / 2);
    EXPECT_EQ(r.top, desktop.top + (desktop.bottom - desktop.top - 348) / 2);
    EXPECT_EQ(r.right - r.left, 528);

    Recorder child;
    ASSERT_TRUE(child.Create(WS_CHILD, L"", nullptr, 0, 0, 0, w.GetHwnd(), nullptr, 100, 48));
    child.CenterWindow();
    GetWindowRect(child.GetHwnd(), &r);
    POINT corner{r.left, r.top};
    ScreenToClient(w.GetHwnd(), &corner);
    EXPECT_EQ(corner.x, (528 - 100) / 2);
    EXPECT_EQ(corner.y, (348 - 48) / 2);
}

TEST_F(CHWindowTest, ResizeKeepsTheCornerAndExStyleChangesOnlyWhenDifferent) {
    Recorder w;
    ASSERT_TRUE(w.Create(WS_POPUP, L"", nullptr, 0, 30, 40, nullptr, nullptr, 100, 100));
    Recorder child;
    ASSERT_TRUE(child.Create(WS_CHILD, L"", nullptr, 0, 12, 13, w.GetHwnd(), nullptr, 10, 10));
    child.ResizeKeepingCorner(528, 348);
    RECT r{};
    GetWindowRect(child.GetHwnd(), &r);
    POINT corner{r.left, r.top};
    ScreenToClient(w.GetHwnd(), &corner);
    EXPECT_EQ(corner.x, 12);
    EXPECT_EQ(corner.y, 13);
    EXPECT_EQ(r.right - r.left, 528);
    EXPECT_EQ(r.bottom - r.top, 348);
    EXPECT_TRUE(w.ModifyExStyle(0, WS_EX_TOOLWINDOW));
    EXPECT_FALSE(w.ModifyExStyle(0, WS_EX_TOOLWINDOW));
    EXPECT_TRUE(w.ModifyExStyle(WS_EX_TOOLWINDOW, 0));
    EXPECT_EQ(GetWindowLongW(w.GetHwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
}

}  // namespace
}  // namespace kestro
