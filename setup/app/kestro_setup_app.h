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

private:
    std::unique_ptr<CLHubshell> window_;
    bool comReady_ = false;
};

}  // namespace kestro
