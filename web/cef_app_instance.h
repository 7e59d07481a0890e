#ifndef KESTRO_WEB_CEF_APP_INSTANCE_H_
#define KESTRO_WEB_CEF_APP_INSTANCE_H_

#include "include/cef_app.h"
#include "include/cef_browser.h"
#include "include/cef_v8.h"

// The sub-process's application object, one per process. In a renderer it gives
// every script context the object `external` and forwards its calls to the
// browser process through the browser created last.
class CCefAPPInstance : public CefApp, public CefRenderProcessHandler, public CefBrowserProcessHandler {
public:
    CCefAPPInstance();
    ~CCefAPPInstance() override;

    CefRefPtr<CefBrowserProcessHandler> GetBrowserProcessHandler() OVERRIDE;
    CefRefPtr<CefRenderProcessHandler> GetRenderProcessHandler() OVERRIDE;

    void OnContextInitialized() OVERRIDE;

    void OnBrowserCreated(CefRefPtr<CefBrowser> browser) OVERRIDE;
    void OnBrowserDestroyed(CefRefPtr<CefBrowser> browser) OVERRIDE;
    void OnContextCreated(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                          CefRefPtr<CefV8Context> context) OVERRIDE;

    // Sends one process message named |name| with the converted |arguments|.
    // True when sent, and also when there is no browser to send to (the call is
    // dropped but counts as handled).
    bool SendFunctionCall(const CefString& name, const CefV8ValueList& arguments);

private:
    CefRefPtr<CefBrowser> m_browser;

    IMPLEMENT_REFCOUNTING(CCefAPPInstance);
};

#endif  // KESTRO_WEB_CEF_APP_INSTANCE_H_
