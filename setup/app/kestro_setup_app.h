#pragma once
// The installer's application object: COM for the thread, the one main window.
#include <memory>

#include "setup/app/cl_hubshell.h"
#include "uikit/window/ch_app.h"

namespace kestro {

class CHKestroSetupApp : public CHApp {
public:
    bool InitInstance() override;
    void ExitInstance() override;
    // The code the program ends with when InitInstance failed.
    int ExitCode() const { return exitCode_; }

private:
    std::unique_ptr<CLHubshell> window_;
    bool comReady_ = false;
    int exitCode_ = 0;
};

}  // namespace kestro
