#include "setup/app/kestro_setup_app.h"

#include <objbase.h>

#include "uikit/window/ch_window.h"

namespace kestro {
namespace {

const wchar_t kWindowTitle[] = L"KestroSetup";
constexpr DWORD kWindowStyle = WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kWindowExStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;

}  // namespace

bool CHKestroSetupApp::InitInstance() {
    comReady_ = SUCCEEDED(CoInitialize(nullptr));
    window_ = std::make_unique<CLHubshell>();
    // Start-up, the pages and (quiet) the whole operation run inside the creation.
    if (!window_->Create(kWindowStyle, kWindowTitle, kCHWindowClass, kWindowExStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                         nullptr, nullptr, 0, 0)) {
        // Without a display the creation fails after start-up ran in it: a quiet run has
        // done its operation by then, and its code must not go with the window.
        exitCode_ = window_->ExitCode();
        window_.reset();
        return false;
    }
    mainWindow_ = window_.get();
    if (!window_->IsQuiet()) {
        ShowWindow(window_->GetHwnd(), showCommand_);
        UpdateWindow(window_->GetHwnd());
    }
    return true;
}

void CHKestroSetupApp::ExitInstance() {
    if (window_ && IsWindow(window_->GetHwnd())) DestroyWindow(window_->GetHwnd());
    window_.reset();
    mainWindow_ = nullptr;
    if (comReady_) CoUninitialize();
    comReady_ = false;
}

}  // namespace kestro
