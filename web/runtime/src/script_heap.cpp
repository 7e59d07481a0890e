#include "web/runtime/src/script_heap.h"

#include <cstdio>
#include <cstdlib>

namespace kestro {
namespace standin {

namespace {

void OnFatal(void* udata, const char* msg) {
    std::fprintf(stderr, "script engine fatal error: %s\n", msg ? msg : "");
    std::abort();
}

const char kRefsKey[] = "refs";

struct RetainArgs {
    uint32_t id;
};

duk_ret_t RetainBody(duk_context* ctx, void* udata) {
    // A safe call shares the caller's frame: the argument is the top value.
    duk_idx_t self = duk_normalize_index(ctx, -1);
    RetainArgs* args = static_cast<RetainArgs*>(udata);
    duk_push_heap_stash(ctx);
    duk_get_prop_string(ctx, -1, kRefsKey);
    duk_dup(ctx, self);
    duk_put_prop_index(ctx, -2, args->id);
    return 0;
}

duk_ret_t DropBody(duk_context* ctx, void* udata) {
    RetainArgs* args = static_cast<RetainArgs*>(udata);
    duk_push_heap_stash(ctx);
    duk_get_prop_string(ctx, -1, kRefsKey);
    duk_del_prop_index(ctx, -1, args->id);
    return 0;
}

duk_ret_t InitBody(duk_context* ctx, void*) {
    duk_push_heap_stash(ctx);
    duk_push_object(ctx);
    duk_put_prop_string(ctx, -2, kRefsKey);
    return 0;
}

}  // namespace

bool SafeCall(duk_context* ctx, SafeBody body, void* udata, duk_idx_t nargs, duk_idx_t nrets) {
    return duk_safe_call(ctx, body, udata, nargs, nrets) == DUK_EXEC_SUCCESS;
}

ScriptHeap::ScriptHeap() : ctx_(nullptr), next_id_(1) {
    ctx_ = duk_create_heap(nullptr, nullptr, nullptr, this, OnFatal);
    if (ctx_ && !SafeCall(ctx_, InitBody, nullptr, 0, 0)) Dispose();
}

ScriptHeap::~ScriptHeap() { Dispose(); }

void ScriptHeap::Dispose() {
    if (ctx_) {
        duk_destroy_heap(ctx_);
        ctx_ = nullptr;
    }
    // Dropped after the engine so no script object can reach them any more.
    functions_.clear();
    accessors_.clear();
    pending_return = nullptr;
}

ScriptHeap* ScriptHeap::From(duk_context* ctx) {
    duk_memory_functions funcs;
    duk_get_memory_functions(ctx, &funcs);
    return static_cast<ScriptHeap*>(funcs.udata);
}

uint32_t ScriptHeap::Retain(duk_idx_t index) {
    if (!ctx_) return 0;
    RetainArgs args{next_id_};
    duk_dup(ctx_, index);
    if (!SafeCall(ctx_, RetainBody, &args, 1, 0)) return 0;
    ++next_id_;
    return args.id;
}

void ScriptHeap::Drop(uint32_t id) {
    if (!ctx_ || id == 0) return;
    RetainArgs args{id};
    SafeCall(ctx_, DropBody, &args, 0, 0);
}

bool ScriptHeap::PushRetained(duk_context* ctx, uint32_t id) {
    duk_push_heap_stash(ctx);
    duk_get_prop_string(ctx, -1, kRefsKey);
    bool found = duk_get_prop_index(ctx, -1, id) != 0;
    duk_remove(ctx, -2);
    duk_remove(ctx, -2);
    return found;
}

int ScriptHeap::AddFunction(const CefString& name, CefRefPtr<CefV8Handler> handler) {
    functions_.push_back(FunctionBinding{name, handler});
    return static_cast<int>(functions_.size()) - 1;
}

const ScriptHeap::FunctionBinding* ScriptHeap::Function(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= functions_.size()) return nullptr;
    return &functions_[index];
}

int ScriptHeap::AddAccessor(CefRefPtr<CefV8Accessor> accessor) {
    accessors_.push_back(accessor);
    return static_cast<int>(accessors_.size()) - 1;
}

CefRefPtr<CefV8Accessor> ScriptHeap::Accessor(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= accessors_.size()) return nullptr;
    return accessors_[index];
}

std::string ToEngineText(const CefString& text) {
    std::string out;
    const std::u16string& units = text.ToString16();
    out.reserve(units.size());
    for (char16_t u : units) {
        uint32_t cu = u;
        if (cu < 0x80) {
            out.push_back(static_cast<char>(cu));
        } else if (cu < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cu >> 6)));
            out.push_back(static_cast<char>(0x80 | (cu & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (cu >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cu >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cu & 0x3F)));
        }
    }
    return out;
}

}  // namespace standin
}  // namespace kestro
