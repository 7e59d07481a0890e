#ifndef KESTRO_WEB_RUNTIME_SRC_V8_CONTEXT_H_
#define KESTRO_WEB_RUNTIME_SRC_V8_CONTEXT_H_

#include <string>

#include "include/cef_v8.h"
#include "web/runtime/host/renderer_host.h"
#include "web/runtime/src/script_heap.h"

namespace kestro {
namespace standin {

// A frame's script context: its own engine heap and global object.
class V8ContextImpl : public CefV8Context {
public:
    V8ContextImpl(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame);

    bool IsValid() override;
    CefRefPtr<CefBrowser> GetBrowser() override { return browser_; }
    CefRefPtr<CefFrame> GetFrame() override { return frame_; }
    CefRefPtr<CefV8Value> GetGlobal() override;
    bool Enter() override;
    bool Exit() override;
    bool IsSame(CefRefPtr<CefV8Context> that) override { return that.get() == this; }

    ScriptHeap* heap() const { return heap_.get(); }
    // Evaluates |script| with this context entered.
    ScriptResult Run(const std::string& script);
    // Ends the context: frees its heap and drops its browser and frame.
    void Invalidate();

private:
    CefRefPtr<ScriptHeap> heap_;
    CefRefPtr<CefBrowser> browser_;
    CefRefPtr<CefFrame> frame_;

    IMPLEMENT_REFCOUNTING(V8ContextImpl);
};

}  // namespace standin
}  // namespace kestro

#endif  // KESTRO_WEB_RUNTIME_SRC_V8_CONTEXT_H_
