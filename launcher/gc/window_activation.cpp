#include "launcher/gc/window_activation.h"

#include <windows.h>

#include "launcher/core/start_decisions.h"
#include "outside/hubshell/hubshell.h"
#include "outside/tarnlib/tarnlib.h"

namespace kestro::launcher {

namespace {
// Lifting without moving, sizing, repainting or reordering owned windows.
constexpr UINT kLiftFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOOWNERZORDER;
}  // namespace

void ActivateRunningGameCenter(const wchar_t* productTitle) {
    HWND window = FindWindowW(kHubshellWindowClass, productTitle);
    // The full-screen test only matters when there is a window to disturb.
    const bool fullScreen = window && CHUtilEx::HasFullScreenRuning() != 0;
    const bool minimised = window && IsIconic(window);
    const bool visible = window && IsWindowVisible(window);
    switch (ChooseActivation(window != nullptr, fullScreen, minimised, visible)) {
    case Activation::None:
        break;
    case Activation::Restore:
        SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
        break;
    case Activation::Lift:
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, kLiftFlags);
        SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, kLiftFlags);
        break;
    case Activation::ShowNormal:
        ShowWindow(window, SW_SHOWNORMAL);
        break;
    }
}

}  // namespace kestro::launcher
