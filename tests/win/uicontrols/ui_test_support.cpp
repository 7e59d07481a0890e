#include "ui_test_support.h"

#include "sample_skin.h"
#include "uikit/window/ch_app.h"

namespace kestro::test {

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
