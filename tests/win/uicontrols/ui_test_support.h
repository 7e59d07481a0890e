#pragma once
// A root window with a loaded sample skin, real pointer and keyboard input, and a
// log of what the tree reports to its root.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "services/json/jvalue.h"
#include "tests/win/support/ui_input.h"
#include "uikit/object/ui_object.h"
#include "uikit/skin/ui_resource.h"

namespace kestro::test {

// Messages the root saw: ChildNotify and WM_COMMAND.
struct Report {
    bool command = false;  // true: WM_COMMAND at the window, false: ChildNotify
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    UIObject* sender = nullptr;
};

class TestRoot : public UIObject {
public:
    LRESULT ChildNotify(UIObject* sender, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    std::vector<Report> reports;
    int CountCommands(WPARAM id) const;
    int CountNotifies(UINT message, WPARAM wParam) const;
};

// The sample skin, loaded once per process (and the toolkit's window class registered).
UIResource& SampleSkin();
const JValue* GalleryNode();

// A root window of 400 x 320 at (200, 150), in front, with the tree laid out.
class RootFixture {
public:
    RootFixture();
    ~RootFixture();
    TestRoot* root = nullptr;
    HWND hwnd() const { return root->GetHwnd(); }
    // Repaints now and answers the back buffer's pixel as 0x00RRGGBB.
    unsigned PixelAt(int x, int y);
    void Repaint();
};

}  // namespace kestro::test
