#ifndef KESTRO_WEB_RUNTIME_SRC_SUB_PROCESS_H_
#define KESTRO_WEB_RUNTIME_SRC_SUB_PROCESS_H_

#include "include/cef_app.h"

namespace kestro {
namespace standin {

// Switches of the stand-in's renderer process: the script of the main frame's
// page, the script of a sub-frame's page, and the file that receives one
// Describe line per message sent to the browser process.
inline constexpr const char kPageSwitch[] = "kestro-page";
inline constexpr const char kSubFramePageSwitch[] = "kestro-subframe-page";
inline constexpr const char kMessageLogSwitch[] = "kestro-message-log";

// A renderer process: one browser, its pages run, then everything torn down.
// 0 when it ran, 1 when a page or the log could not be read or written.
int RunRendererProcess(CefRefPtr<CefApp> app, CefRefPtr<CefCommandLine> command_line);

}  // namespace standin
}  // namespace kestro

#endif  // KESTRO_WEB_RUNTIME_SRC_SUB_PROCESS_H_
