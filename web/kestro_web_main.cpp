#include <windows.h>

#include "include/cef_app.h"
#include "web/cef_app_instance.h"

// Entry of every sub-process the browser runtime starts; the runtime decides
// from its own switches which kind this process is.
int APIENTRY wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow) {
    CefMainArgs main_args(hInstance);
    CefRefPtr<CCefAPPInstance> app = new CCefAPPInstance();
    return CefExecuteProcess(main_args, app.get(), NULL);
}
