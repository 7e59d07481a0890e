#include "web/cef_v8_accessor.h"

bool CCefV8Accessor::Get(const CefString& name, const CefRefPtr<CefV8Value> object, CefRefPtr<CefV8Value>& retval,
                         CefString& exception) {
    return true;
}

bool CCefV8Accessor::Set(const CefString& name, const CefRefPtr<CefV8Value> object, const CefRefPtr<CefV8Value> value,
                         CefString& exception) {
    return true;
}
