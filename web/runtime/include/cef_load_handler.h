#ifndef CEF_INCLUDE_CEF_LOAD_HANDLER_H_
#define CEF_INCLUDE_CEF_LOAD_HANDLER_H_

#include "include/cef_base.h"
#include "include/cef_browser.h"

// Page load notifications.
class CefLoadHandler : public virtual CefBase {
public:
    virtual void OnLoadingStateChange(CefRefPtr<CefBrowser> browser, bool isLoading, bool canGoBack,
                                      bool canGoForward) {}
};

#endif  // CEF_INCLUDE_CEF_LOAD_HANDLER_H_
