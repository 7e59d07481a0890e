#include <windows.h>

#include "launcher/gc/gamecenter_app.h"

// The one application object, alive from before the entry point to process exit.
static CHKestroGameCenterApp g_gameCenterApp;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previousInstance, wchar_t* commandLine, int showCommand) {
    CHApp* app = GetApp();
    if (!app->InitApplication(instance, previousInstance, commandLine, showCommand)) return 0;
    if (!app->InitInstance()) return 0;
    return app->Run();
}
