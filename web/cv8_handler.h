#ifndef KESTRO_WEB_CV8_HANDLER_H_
#define KESTRO_WEB_CV8_HANDLER_H_

#include "include/cef_v8.h"

class CCefAPPInstance;

// Serves all functions of one context's `external`; the runtime passes the name
// of the function called.
class CCV8Handler : public CefV8Handler {
public:
    explicit CCV8Handler(CefRefPtr<CCefAPPInstance> app);

    // Forwards the call; never sets |retval| or |exception|, so the page always
    // sees undefined and no error.
    bool Execute(const CefString& name, CefRefPtr<CefV8Value> object, const CefV8ValueList& arguments,
                 CefRefPtr<CefV8Value>& retval, CefString& exception) OVERRIDE;

private:
    CefRefPtr<CCefAPPInstance> m_app;

    IMPLEMENT_REFCOUNTING(CCV8Handler);
};

#endif  // KESTRO_WEB_CV8_HANDLER_H_
