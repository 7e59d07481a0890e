#include "web/cv8_handler.h"

#include "web/cef_app_instance.h"

CCV8Handler::CCV8Handler(CefRefPtr<CCefAPPInstance> app) : m_app(app) {}

bool CCV8Handler::Execute(const CefString& name, CefRefPtr<CefV8Value> object, const CefV8ValueList& arguments,
                          CefRefPtr<CefV8Value>& retval, CefString& exception) {
    if (!m_app.get()) return true;
    return m_app->SendFunctionCall(name, arguments);
}
