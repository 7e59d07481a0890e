// KestroSetup.exe: the installer and, as unins000.exe, the uninstaller.
#include <windows.h>

#include "setup/app/kestro_setup_app.h"

namespace {

kestro::CHKestroSetupApp theApp;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show) {
    if (!theApp.Initialize(instance, previous, commandLine, show)) return 0;
    if (!theApp.InitInstance()) return theApp.ExitCode();
    return theApp.Run();
}
