#include "ui_test_support.h"

#include <thread>

#include "sample_skin.h"
#include "uikit/window/ch_app.h"

namespace kestro::test {

void Pump(int ms) {
    const DWORD end = GetTickCount() + DWORD(ms);
    MSG m;
    while (int(end - GetTickCount()) > 0) {
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

bool PumpUntil(const std::function<bool()>& done, int ms) {
    const DWORD end = GetTickCount() + DWORD(ms);
    MSG m;
    while (!done()) {
        if (int(end - GetTickCount()) <= 0) return false;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void MoveMouse(HWND window, int x, int y) {
    POINT p{x, y};
    if (window) ClientToScreen(window, &p);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = LONG((p.x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1));
    in.mi.dy = LONG((p.y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(in));
    Pump(30);
}

void MouseButton(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof(in));
    Pump(30);
}

void ClickAt(HWND window, int x, int y) {
    MoveMouse(window, x, y);
    // Press and release in one batch: a control may sit in its own loop until the release.
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    Pump(40);
}

void Wheel(int delta) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = DWORD(delta);
    SendInput(1, &in, sizeof(in));
    Pump(30);
}

void PressKey(WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    Pump(30);
}

void TypeChar(wchar_t c) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wScan = in[1].ki.wScan = WORD(c);
    in[0].ki.dwFlags = KEYEVENTF_UNICODE;
    in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    Pump(30);
}

void DragLater(HWND window, std::vector<POINT> path) {
    std::thread([window, path] {
        for (const POINT& p : path) {
            Sleep(60);
            MoveMouse(window, p.x, p.y);
        }
        Sleep(60);
        INPUT up{};
        up.type = INPUT_MOUSE;
        up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(1, &up, sizeof(up));
    }).detach();
}

LRESULT TestRoot::ChildNotify(UIObject* sender, UINT message, WPARAM wParam, LPARAM lParam) {
    reports.push_back(Report{false, message, wParam, lParam, sender});
    return 0;
}

LRESULT TestRoot::OnCommand(WPARAM wParam, LPARAM lParam) {
    reports.push_back(Report{true, WM_COMMAND, wParam, lParam, nullptr});
    return UIObject::OnCommand(wParam, lParam);
}

int TestRoot::CountCommands(WPARAM id) const {
    int n = 0;
    for (const Report& r : reports) n += r.command && LOWORD(r.wParam) == id;
    return n;
}

int TestRoot::CountNotifies(UINT message, WPARAM wParam) const {
    int n = 0;
    for (const Report& r : reports) n += !r.command && r.message == message && r.wParam == wParam;
    return n;
}

UIResource& SampleSkin() {
    static UIResource* skin = [] {
        RegisterCHWindowClass(GetModuleHandleW(nullptr));
        auto* s = new UIResource();
        const std::string package = sample::BuildSamplePackage();
        s->LoadFromBuffer(package.data(), package.size());
        SetCurrentSkin(s);
        return s;
    }();
    return *skin;
}

const JValue* GalleryNode() {
    static std::optional<JValue> node = SampleSkin().FindNode("Gallery", nullptr);
    return node ? &*node : nullptr;
}

RootFixture::RootFixture() {
    // One window for the whole run: hiding an activated window costs Wine's X11
    // driver a two-second wait for a window manager that is not there.
    static TestRoot* shared = nullptr;
    if (!shared) {
        SampleSkin();
        shared = new TestRoot();
        shared->Create(WS_POPUP | WS_VISIBLE, L"controls", kCHWindowClass, WS_EX_TOPMOST, 200, 150, nullptr, nullptr,
                       300, 200);
        // A size change lays the tree out from the client rectangle.
        SetWindowPos(shared->GetHwnd(), nullptr, 0, 0, 400, 320, SWP_NOMOVE | SWP_NOZORDER);
        SetForegroundWindow(shared->GetHwnd());
        Pump(50);
    }
    root = shared;
    root->reports.clear();
}

RootFixture::~RootFixture() {
    MoveMouse(nullptr, 1, 1);
    const std::vector<UIObject*> children = root->GetChildren();
    for (UIObject* child : children) delete child;
    root->reports.clear();
    Pump(10);
}

void RootFixture::Repaint() { RedrawWindow(root->GetHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

unsigned RootFixture::PixelAt(int x, int y) {
    Repaint();
    const COLORREF c = GetPixel(root->GetMemDC(), x, y);
    return unsigned(GetRValue(c)) << 16 | unsigned(GetGValue(c)) << 8 | GetBValue(c);
}

}  // namespace kestro::test
