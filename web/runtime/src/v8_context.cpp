#include "web/runtime/src/v8_context.h"

#include <vector>

namespace kestro {
namespace standin {

namespace {

// Contexts entered on the renderer's main thread, innermost last.
std::vector<CefRefPtr<V8ContextImpl> >& EnteredContexts() {
    static std::vector<CefRefPtr<V8ContextImpl> > entered;
    return entered;
}

duk_ret_t PushGlobalBody(duk_context* ctx, void*) {
    duk_push_global_object(ctx);
    return 1;
}

struct RunArgs {
    const char* code;
    size_t length;
};

duk_ret_t RunBody(duk_context* ctx, void* udata) {
    RunArgs* a = static_cast<RunArgs*>(udata);
    duk_eval_lstring(ctx, a->code, a->length);
    return 1;
}

duk_ret_t ToTextBody(duk_context* ctx, void*) {
    // A safe call shares the caller's frame: the argument is the top value.
    duk_idx_t self = duk_normalize_index(ctx, -1);
    duk_to_string(ctx, self);
    return 1;
}

}  // namespace

ScriptHeap* CurrentHeap() {
    std::vector<CefRefPtr<V8ContextImpl> >& entered = EnteredContexts();
    return entered.empty() ? nullptr : entered.back()->heap();
}

V8ContextImpl::V8ContextImpl(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame)
    : heap_(new ScriptHeap()), browser_(browser), frame_(frame) {}

bool V8ContextImpl::IsValid() { return heap_.get() && heap_->ctx(); }

CefRefPtr<CefV8Value> V8ContextImpl::GetGlobal() {
    if (!IsValid()) return nullptr;
    duk_context* ctx = heap_->ctx();
    CefRefPtr<CefV8Value> global;
    if (SafeCall(ctx, PushGlobalBody, nullptr, 0, 1)) global = WrapValue(heap_.get(), -1);
    duk_pop(ctx);
    return global;
}

bool V8ContextImpl::Enter() {
    if (!IsValid()) return false;
    EnteredContexts().push_back(this);
    return true;
}

bool V8ContextImpl::Exit() {
    std::vector<CefRefPtr<V8ContextImpl> >& entered = EnteredContexts();
    if (entered.empty() || entered.back().get() != this) return false;
    entered.pop_back();
    return true;
}

ScriptResult V8ContextImpl::Run(const std::string& script) {
    ScriptResult result;
    if (!Enter()) {
        result.value = "context is not valid";
        return result;
    }
    // Keeps the heap alive even if the script's calls drop the last other reference.
    CefRefPtr<ScriptHeap> heap = heap_;
    duk_context* ctx = heap->ctx();
    RunArgs args{script.data(), script.size()};
    result.ok = SafeCall(ctx, RunBody, &args, 0, 1);
    if (SafeCall(ctx, ToTextBody, nullptr, 1, 1)) {
        duk_size_t len = 0;
        const char* text = duk_get_lstring(ctx, -1, &len);
        result.value = CefString(std::string(text ? text : "", len)).ToString();
    } else {
        result.ok = false;
        result.value = "(value without text form)";
    }
    duk_pop(ctx);
    Exit();
    return result;
}

void V8ContextImpl::Invalidate() {
    if (heap_.get()) heap_->Dispose();
    browser_ = nullptr;
    frame_ = nullptr;
}

}  // namespace standin
}  // namespace kestro

CefRefPtr<CefV8Context> CefV8Context::GetCurrentContext() {
    std::vector<CefRefPtr<kestro::standin::V8ContextImpl> >& entered = kestro::standin::EnteredContexts();
    return entered.empty() ? nullptr : entered.back().get();
}

CefRefPtr<CefV8Context> CefV8Context::GetEnteredContext() {
    std::vector<CefRefPtr<kestro::standin::V8ContextImpl> >& entered = kestro::standin::EnteredContexts();
    return entered.empty() ? nullptr : entered.front().get();
}

bool CefV8Context::InContext() { return !kestro::standin::EnteredContexts().empty(); }
