#include "web/cef_app_instance.h"

#include "include/cef_process_message.h"
#include "include/cef_values.h"
#include "web/bridge_arguments.h"
#include "web/bridge_functions.h"
#include "web/cef_v8_accessor.h"
#include "web/cv8_handler.h"

CCefAPPInstance::CCefAPPInstance() {}

CCefAPPInstance::~CCefAPPInstance() {}

CefRefPtr<CefBrowserProcessHandler> CCefAPPInstance::GetBrowserProcessHandler() { return this; }

CefRefPtr<CefRenderProcessHandler> CCefAPPInstance::GetRenderProcessHandler() { return this; }

void CCefAPPInstance::OnContextInitialized() {}

void CCefAPPInstance::OnBrowserCreated(CefRefPtr<CefBrowser> browser) { m_browser = browser; }

void CCefAPPInstance::OnBrowserDestroyed(CefRefPtr<CefBrowser> browser) {
    // Whichever browser goes, the bridge stops until the next one is created.
    m_browser = NULL;
}

void CCefAPPInstance::OnContextCreated(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                       CefRefPtr<CefV8Context> context) {
    CefRefPtr<CefV8Accessor> accessor = new CCefV8Accessor();
    CefRefPtr<CefV8Handler> handler = new CCV8Handler(this);

    CefRefPtr<CefV8Value> global = context->GetGlobal();
    CefRefPtr<CefV8Value> external = CefV8Value::CreateObject(accessor);
    if (!global.get() || !external.get()) return;
    global->SetValue(kestro::kExternalObjectName, external, V8_PROPERTY_ATTRIBUTE_NONE);

    for (const char* name : kestro::kBridgeFunctionNames) {
        external->SetValue(name, CefV8Value::CreateFunction(name, handler), V8_PROPERTY_ATTRIBUTE_READONLY);
    }
}

bool CCefAPPInstance::SendFunctionCall(const CefString& name, const CefV8ValueList& arguments) {
    if (!m_browser.get()) return true;

    CefRefPtr<CefProcessMessage> message = CefProcessMessage::Create(name);
    CefRefPtr<CefListValue> list = message->GetArgumentList();
    list->SetSize(arguments.size());
    kestro::FillArgumentList(arguments, list);
    return m_browser->SendProcessMessage(PID_BROWSER, message);
}
