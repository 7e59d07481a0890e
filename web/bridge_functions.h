#ifndef KESTRO_WEB_BRIDGE_FUNCTIONS_H_
#define KESTRO_WEB_BRIDGE_FUNCTIONS_H_

#include <cstddef>

namespace kestro {

// The functions of the page object `external`, in the order they are created.
// Each name is also the name of the process message a call sends; the browser
// side relies on these exact spellings.
inline constexpr const char* kBridgeFunctionNames[] = {
    "NewWindow",          "GetDeviceList", "GetResourceInfo",  "Install",        "Download",
    "DownloadAndInstall", "DownloadPause", "DownloadResume",   "DownloadCancel", "DownloadOpen",
    "OpenLoginWnd",       "OpenIosPlayer", "refreshlmaccount", "closewindow",
};
inline constexpr size_t kBridgeFunctionCount = sizeof(kBridgeFunctionNames) / sizeof(kBridgeFunctionNames[0]);

// Name of the page object, a property of every context's global object.
inline constexpr const char kExternalObjectName[] = "external";

}  // namespace kestro

#endif  // KESTRO_WEB_BRIDGE_FUNCTIONS_H_
