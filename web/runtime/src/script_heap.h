#ifndef KESTRO_WEB_RUNTIME_SRC_SCRIPT_HEAP_H_
#define KESTRO_WEB_RUNTIME_SRC_SCRIPT_HEAP_H_

#include <cstdint>
#include <string>
#include <vector>

#include "duktape.h"
#include "include/cef_v8.h"

namespace kestro {
namespace standin {

// One script engine instance: the heap behind one context. Script objects that
// native code holds are kept alive in the heap stash under numeric ids.
//
// The engine reports errors by long jumps, which must never cross a native frame
// holding objects with destructors: every engine call that can fail runs inside
// SafeCall, whose body keeps only trivially destructible locals.
class ScriptHeap : public virtual CefBase {
public:
    ScriptHeap();
    ~ScriptHeap() override;

    // Null once the heap has been disposed.
    duk_context* ctx() const { return ctx_; }
    // Frees the engine and releases every handler and accessor it referred to.
    void Dispose();

    // Keeps the object at |index| alive; returns its id, 0 on failure.
    uint32_t Retain(duk_idx_t index);
    void Drop(uint32_t id);
    // Pushes the object kept under |id|; pushes undefined and returns false when
    // there is none. Runs inside a SafeCall body only.
    static bool PushRetained(duk_context* ctx, uint32_t id);

    // A function created with CreateFunction: its name and handler, found by index.
    struct FunctionBinding {
        CefString name;
        CefRefPtr<CefV8Handler> handler;
    };
    int AddFunction(const CefString& name, CefRefPtr<CefV8Handler> handler);
    const FunctionBinding* Function(int index) const;
    int AddAccessor(CefRefPtr<CefV8Accessor> accessor);
    CefRefPtr<CefV8Accessor> Accessor(int index) const;

    // The text a handler asked to throw, kept here so the throwing frame needs no
    // owned locals.
    std::string pending_exception;
    // A handler's result, likewise.
    CefRefPtr<CefV8Value> pending_return;

    static ScriptHeap* From(duk_context* ctx);

private:
    duk_context* ctx_;
    uint32_t next_id_;
    std::vector<FunctionBinding> functions_;
    std::vector<CefRefPtr<CefV8Accessor> > accessors_;

    IMPLEMENT_REFCOUNTING(ScriptHeap);
};

typedef duk_ret_t (*SafeBody)(duk_context* ctx, void* udata);
// Runs |body| with the top |nargs| values as its arguments, leaving |nrets|
// values; true when it finished without an error (then the error is on top instead).
bool SafeCall(duk_context* ctx, SafeBody body, void* udata, duk_idx_t nargs, duk_idx_t nrets);

// Hidden property names on engine objects (not visible to page scripts).
#define KESTRO_HIDDEN_FUNCTION DUK_HIDDEN_SYMBOL("kfn")
#define KESTRO_HIDDEN_ACCESSOR DUK_HIDDEN_SYMBOL("kacc")
#define KESTRO_HIDDEN_KEY DUK_HIDDEN_SYMBOL("kkey")

// Text as the engine stores it: CESU-8, each UTF-16 unit on its own.
std::string ToEngineText(const CefString& text);

// Wraps the value at |index| of |heap|'s stack.
CefRefPtr<CefV8Value> WrapValue(ScriptHeap* heap, duk_idx_t index);
// Pushes |value| onto |heap|'s stack inside a SafeCall body; false when it
// belongs to another heap (undefined is pushed instead).
bool PushValue(ScriptHeap* heap, CefV8Value* value);

// The context that is current now, or none.
ScriptHeap* CurrentHeap();

}  // namespace standin
}  // namespace kestro

#endif  // KESTRO_WEB_RUNTIME_SRC_SCRIPT_HEAP_H_
