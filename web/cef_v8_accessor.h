#ifndef KESTRO_WEB_CEF_V8_ACCESSOR_H_
#define KESTRO_WEB_CEF_V8_ACCESSOR_H_

#include "include/cef_v8.h"

// The accessor `external` is created with. It serves no properties: both
// operations report success and change nothing.
class CCefV8Accessor : public CefV8Accessor {
public:
    bool Get(const CefString& name, const CefRefPtr<CefV8Value> object, CefRefPtr<CefV8Value>& retval,
             CefString& exception) OVERRIDE;
    bool Set(const CefString& name, const CefRefPtr<CefV8Value> object, const CefRefPtr<CefV8Value> value,
             CefString& exception) OVERRIDE;

private:
    IMPLEMENT_REFCOUNTING(CCefV8Accessor);
};

#endif  // KESTRO_WEB_CEF_V8_ACCESSOR_H_
