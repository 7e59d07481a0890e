#include "ch_app.h"

#include <commctrl.h>

#include "uikit/window/ch_window.h"

namespace kestro {
namespace {

// All basic control classes and the rebar classes.
constexpr DWORD kCommonControlClasses = 0x4FF;
// Vertical and horizontal redraw, double clicks.
constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;

}  // namespace

ATOM RegisterCHWindowClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = kClassStyle;
    wc.lpfnWndProc = &CHWindow::ClassProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    wc.lpszClassName = kCHWindowClass;
    return RegisterClassExW(&wc);
}

bool CHApp::Initialize(HINSTANCE instance, HINSTANCE previous, const wchar_t* commandLine, int showCommand) {
    instance_ = instance;
    previous_ = previous;
    commandLine_ = commandLine;
    showCommand_ = showCommand;
    INITCOMMONCONTROLSEX controls{sizeof(controls), kCommonControlClasses};
    InitCommonControlsEx(&controls);
    return RegisterCHWindowClass(instance) != 0;
}

int RunCHApp(CHApp& app, HINSTANCE instance, HINSTANCE previous, const wchar_t* commandLine, int showCommand) {
    if (!app.Initialize(instance, previous, commandLine, showCommand) || !app.InitInstance()) return 0;
    return app.Run();
}

bool CHApp::PreTranslate(MSG* message) {
    for (HWND window = message->hwnd; window; window = GetParent(window)) {
        CHWindow* object = CHWindow::FromHandle(window);
        if (object && IsWindow(object->GetHwnd()) && object->PreTranslateMessage(message)) return true;
    }
    return false;
}

int CHApp::Run() {
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        if (!PreTranslate(&message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    ExitInstance();
    return int(message.wParam);
}

}  // namespace kestro
