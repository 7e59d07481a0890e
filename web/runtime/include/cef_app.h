#ifndef CEF_INCLUDE_CEF_APP_H_
#define CEF_INCLUDE_CEF_APP_H_

#include "include/cef_base.h"
#include "include/cef_browser_process_handler.h"
#include "include/cef_command_line.h"
#include "include/cef_render_process_handler.h"
#include "include/cef_resource_bundle_handler.h"
#include "include/cef_scheme.h"

class CefApp;

// Entry of every runtime sub-process. Returns -1 in the browser process (the
// caller goes on), otherwise the sub-process's exit code once it has finished.
int CefExecuteProcess(const CefMainArgs& args, CefRefPtr<CefApp> application, void* windows_sandbox_info);

// The process-wide application object handed to the runtime.
class CefApp : public virtual CefBase {
public:
    virtual void OnBeforeCommandLineProcessing(const CefString& process_type, CefRefPtr<CefCommandLine> command_line) {}
    virtual void OnRegisterCustomSchemes(CefRefPtr<CefSchemeRegistrar> registrar) {}
    virtual CefRefPtr<CefResourceBundleHandler> GetResourceBundleHandler() { return NULL; }
    virtual CefRefPtr<CefBrowserProcessHandler> GetBrowserProcessHandler() { return NULL; }
    virtual CefRefPtr<CefRenderProcessHandler> GetRenderProcessHandler() { return NULL; }
};

#endif  // CEF_INCLUDE_CEF_APP_H_
