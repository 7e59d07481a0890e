#include <cmath>
#include <cstdio>
#include <cstring>

#include "web/runtime/src/script_heap.h"

namespace kestro {
namespace standin {

namespace {

enum class Kind { kUndefined, kNull, kBool, kNumber, kString, kObject, kOther };
// How a number is held: created as one kind, or classified from a script number.
enum class NumberKind { kInt, kUInt, kDouble };
enum class PropertyOp;

// A script value. Primitives are copied when wrapped; objects stay in their
// heap and are kept alive there for as long as the wrapper lives.
class V8ValueImpl : public CefV8Value {
public:
    explicit V8ValueImpl(Kind kind) : kind_(kind) {}
    ~V8ValueImpl() override {
        if (heap_.get() && id_) heap_->Drop(id_);
    }

    static CefRefPtr<V8ValueImpl> Int(int32_t i) { return Integer(NumberKind::kInt, static_cast<uint32_t>(i)); }
    static CefRefPtr<V8ValueImpl> UInt(uint32_t u) { return Integer(NumberKind::kUInt, u); }
    static CefRefPtr<V8ValueImpl> Double(double d) {
        CefRefPtr<V8ValueImpl> v = new V8ValueImpl(Kind::kNumber);
        v->number_kind_ = NumberKind::kDouble;
        v->double_ = d;
        return v;
    }
    // A script number takes the first kind that holds it exactly: int, then
    // uint, else double. Negative zero is no integer to the engine.
    static CefRefPtr<V8ValueImpl> FromScriptNumber(double d) {
        const bool whole = std::isfinite(d) && std::floor(d) == d && !(d == 0 && std::signbit(d));
        if (whole && d >= -2147483648.0 && d <= 2147483647.0) return Int(static_cast<int32_t>(d));
        if (whole && d >= 0 && d <= 4294967295.0) return UInt(static_cast<uint32_t>(d));
        return Double(d);
    }
    static CefRefPtr<V8ValueImpl> String(const CefString& s) {
        CefRefPtr<V8ValueImpl> v = new V8ValueImpl(Kind::kString);
        v->string_ = s;
        v->engine_text_ = ToEngineText(s);
        return v;
    }
    static CefRefPtr<V8ValueImpl> Object(ScriptHeap* heap, uint32_t id) {
        CefRefPtr<V8ValueImpl> v = new V8ValueImpl(Kind::kObject);
        v->heap_ = heap;
        v->id_ = id;
        return v;
    }

    Kind kind() const { return kind_; }
    ScriptHeap* heap() const { return heap_.get(); }
    uint32_t id() const { return id_; }
    double number() { return GetDoubleValue(); }
    bool boolean() const { return bool_; }
    void set_bool(bool b) { bool_ = b; }
    const std::string& engine_text() const { return engine_text_; }

    bool IsValid() override { return kind_ != Kind::kObject || (heap_.get() && heap_->ctx()); }
    bool IsUndefined() override { return kind_ == Kind::kUndefined; }
    bool IsNull() override { return kind_ == Kind::kNull; }
    bool IsBool() override { return kind_ == Kind::kBool; }
    // Both integer kinds answer to both integer checks, as in the runtime.
    bool IsInt() override { return IsInteger(); }
    bool IsUInt() override { return IsInteger(); }
    bool IsDouble() override { return kind_ == Kind::kNumber; }
    bool IsDate() override { return Query(&IsDateBody); }
    bool IsString() override { return kind_ == Kind::kString; }
    bool IsObject() override { return kind_ == Kind::kObject; }
    bool IsArray() override { return Query(&IsArrayBody); }
    bool IsFunction() override { return Query(&IsFunctionBody); }
    bool IsSame(CefRefPtr<CefV8Value> that) override;

    bool GetBoolValue() override { return kind_ == Kind::kBool && bool_; }
    // The integer store read either way: the uint 2^32-1 reads as the int -1, the int -1 as 0xFFFFFFFF.
    int32_t GetIntValue() override { return IsInteger() ? static_cast<int32_t>(integer_) : 0; }
    uint32_t GetUIntValue() override { return IsInteger() ? integer_ : 0; }
    double GetDoubleValue() override {
        if (kind_ != Kind::kNumber) return 0;
        switch (number_kind_) {
            case NumberKind::kInt: return static_cast<int32_t>(integer_);
            case NumberKind::kUInt: return integer_;
            case NumberKind::kDouble: break;
        }
        return double_;
    }
    CefString GetStringValue() override { return kind_ == Kind::kString ? string_ : CefString(); }

    bool HasValue(const CefString& key) override;
    bool HasValue(int index) override { return index >= 0 && HasValue(IndexKey(index)); }
    bool DeleteValue(const CefString& key) override;
    bool DeleteValue(int index) override { return index >= 0 && DeleteValue(IndexKey(index)); }
    CefRefPtr<CefV8Value> GetValue(const CefString& key) override;
    CefRefPtr<CefV8Value> GetValue(int index) override {
        return index >= 0 ? GetValue(IndexKey(index)) : CefRefPtr<CefV8Value>();
    }
    bool SetValue(const CefString& key, CefRefPtr<CefV8Value> value, PropertyAttribute attribute) override;
    bool SetValue(int index, CefRefPtr<CefV8Value> value) override {
        return index >= 0 && SetValue(IndexKey(index), value, V8_PROPERTY_ATTRIBUTE_NONE);
    }
    bool SetValue(const CefString& key, AccessControl settings, PropertyAttribute attribute) override;
    bool GetKeys(std::vector<CefString>& keys) override;

    int GetArrayLength() override;
    CefString GetFunctionName() override;
    CefRefPtr<CefV8Handler> GetFunctionHandler() override;

private:
    static CefRefPtr<V8ValueImpl> Integer(NumberKind kind, uint32_t bits) {
        CefRefPtr<V8ValueImpl> v = new V8ValueImpl(Kind::kNumber);
        v->number_kind_ = kind;
        v->integer_ = bits;
        return v;
    }
    bool IsInteger() const { return kind_ == Kind::kNumber && number_kind_ != NumberKind::kDouble; }
    static CefString IndexKey(int index) {
        char key[16];
        std::snprintf(key, sizeof key, "%d", index);
        return CefString(key);
    }
    duk_context* Ctx() const { return kind_ == Kind::kObject && heap_.get() ? heap_->ctx() : nullptr; }

    // Runs |body| with this object pushed as its argument; its boolean result.
    bool Query(SafeBody body);
    // Safe-call bodies share the caller's frame: the object is the top value.
    static duk_ret_t IsDateBody(duk_context* ctx, void*) {
        duk_idx_t self = duk_normalize_index(ctx, -1);
        duk_get_global_string(ctx, "Date");
        duk_push_boolean(ctx, duk_is_object(ctx, self) && duk_is_function(ctx, -1) && duk_instanceof(ctx, self, -1));
        return 1;
    }
    static duk_ret_t IsArrayBody(duk_context* ctx, void*) {
        duk_push_boolean(ctx, duk_is_array(ctx, -1));
        return 1;
    }
    static duk_ret_t IsFunctionBody(duk_context* ctx, void*) {
        duk_push_boolean(ctx, duk_is_function(ctx, -1));
        return 1;
    }
    // Pushes this object for a SafeCall; false when the heap is gone.
    bool PushSelf() {
        duk_context* ctx = Ctx();
        if (!ctx) return false;
        if (!duk_check_stack(ctx, 8)) return false;
        if (!ScriptHeap::PushRetained(ctx, id_)) {
            duk_pop(ctx);
            return false;
        }
        return true;
    }
    int FunctionIndex();
    // Runs one property operation on this object; its result.
    bool RunProperty(PropertyOp op, const CefString& key, V8ValueImpl* value, unsigned flags);

    Kind kind_;
    bool bool_ = false;
    NumberKind number_kind_ = NumberKind::kDouble;
    // One store for both integer kinds, read as signed or unsigned.
    uint32_t integer_ = 0;
    double double_ = 0;
    CefString string_;
    std::string engine_text_;
    CefRefPtr<ScriptHeap> heap_;
    uint32_t id_ = 0;

    IMPLEMENT_REFCOUNTING(V8ValueImpl);
};

V8ValueImpl* Impl(CefV8Value* value) { return static_cast<V8ValueImpl*>(value); }

bool V8ValueImpl::Query(SafeBody body) {
    if (!PushSelf()) return false;
    duk_context* ctx = Ctx();
    bool result = SafeCall(ctx, body, nullptr, 1, 1) && duk_get_boolean(ctx, -1);
    duk_pop(ctx);
    return result;
}

bool V8ValueImpl::IsSame(CefRefPtr<CefV8Value> that) {
    if (!that.get()) return false;
    V8ValueImpl* other = Impl(that.get());
    if (other == this) return true;
    if (kind_ != Kind::kObject || other->kind_ != Kind::kObject || other->heap_.get() != heap_.get()) return false;
    if (!PushSelf()) return false;
    if (!other->PushSelf()) {
        duk_pop(Ctx());
        return false;
    }
    duk_context* ctx = Ctx();
    bool same = duk_get_heapptr(ctx, -1) == duk_get_heapptr(ctx, -2);
    duk_pop_2(ctx);
    return same;
}

// Arguments of the property bodies: the key in engine text, and what to set.
enum class PropertyOp { kHas, kDelete, kGet, kSet, kDefineAccessor };

// Arguments of the property body: the operation, the key in engine text, and
// what to set.
struct PropertyArgs {
    PropertyOp op;
    const char* key;
    size_t key_len;
    V8ValueImpl* value;
    duk_uint_t flags;
    bool result;
};

duk_ret_t AccessorGet(duk_context* ctx);
duk_ret_t AccessorSet(duk_context* ctx);

// Pushes an accessor function carrying the key and the accessor's index.
void PushAccessorFunction(duk_context* ctx, duk_c_function function, duk_idx_t nargs, duk_int_t accessor,
                          const PropertyArgs* a) {
    duk_push_c_function(ctx, function, nargs);
    duk_push_int(ctx, accessor);
    duk_put_prop_string(ctx, -2, KESTRO_HIDDEN_ACCESSOR);
    duk_push_lstring(ctx, a->key, a->key_len);
    duk_put_prop_string(ctx, -2, KESTRO_HIDDEN_KEY);
}

duk_ret_t PropertyBody(duk_context* ctx, void* udata) {
    // A safe call shares the caller's frame: the object is the top value.
    duk_idx_t self = duk_normalize_index(ctx, -1);
    PropertyArgs* a = static_cast<PropertyArgs*>(udata);
    duk_push_lstring(ctx, a->key, a->key_len);
    switch (a->op) {
        case PropertyOp::kHas: a->result = duk_has_prop(ctx, self) != 0; return 0;
        case PropertyOp::kDelete: a->result = duk_del_prop(ctx, self) != 0; return 0;
        case PropertyOp::kGet: duk_get_prop(ctx, self); return 1;
        case PropertyOp::kSet:
            if (!PushValue(ScriptHeap::From(ctx), a->value)) return 0;
            break;
        case PropertyOp::kDefineAccessor: {
            duk_get_prop_string(ctx, self, KESTRO_HIDDEN_ACCESSOR);
            duk_int_t accessor = duk_get_int_default(ctx, -1, -1);
            duk_pop(ctx);
            if (accessor < 0) return 0;
            PushAccessorFunction(ctx, AccessorGet, 0, accessor, a);
            PushAccessorFunction(ctx, AccessorSet, 1, accessor, a);
            break;
        }
    }
    duk_def_prop(ctx, self, a->flags);
    a->result = true;
    return 0;
}

bool V8ValueImpl::RunProperty(PropertyOp op, const CefString& key, V8ValueImpl* value, unsigned flags) {
    std::string k = ToEngineText(key);
    PropertyArgs a{op, k.data(), k.size(), value, flags, false};
    if (!PushSelf()) return false;
    SafeCall(Ctx(), PropertyBody, &a, 1, 0);
    return a.result;
}

bool V8ValueImpl::HasValue(const CefString& key) { return RunProperty(PropertyOp::kHas, key, nullptr, 0); }

bool V8ValueImpl::DeleteValue(const CefString& key) { return RunProperty(PropertyOp::kDelete, key, nullptr, 0); }

CefRefPtr<CefV8Value> V8ValueImpl::GetValue(const CefString& key) {
    std::string k = ToEngineText(key);
    PropertyArgs a{PropertyOp::kGet, k.data(), k.size(), nullptr, 0, false};
    if (!PushSelf()) return nullptr;
    duk_context* ctx = Ctx();
    // A throwing getter yields no value object at all.
    CefRefPtr<CefV8Value> result;
    if (SafeCall(ctx, PropertyBody, &a, 1, 1)) result = WrapValue(heap_.get(), -1);
    duk_pop(ctx);
    return result;
}

bool V8ValueImpl::SetValue(const CefString& key, CefRefPtr<CefV8Value> value, PropertyAttribute attribute) {
    if (!value.get()) return false;
    V8ValueImpl* v = Impl(value.get());
    if (v->kind_ == Kind::kObject && v->heap_.get() != heap_.get()) return false;
    unsigned flags = DUK_DEFPROP_HAVE_VALUE | DUK_DEFPROP_HAVE_WRITABLE | DUK_DEFPROP_HAVE_ENUMERABLE |
                     DUK_DEFPROP_HAVE_CONFIGURABLE;
    if (!(attribute & V8_PROPERTY_ATTRIBUTE_READONLY)) flags |= DUK_DEFPROP_WRITABLE;
    if (!(attribute & V8_PROPERTY_ATTRIBUTE_DONTENUM)) flags |= DUK_DEFPROP_ENUMERABLE;
    if (!(attribute & V8_PROPERTY_ATTRIBUTE_DONTDELETE)) flags |= DUK_DEFPROP_CONFIGURABLE;
    return RunProperty(PropertyOp::kSet, key, v, flags);
}

bool V8ValueImpl::SetValue(const CefString& key, AccessControl settings, PropertyAttribute attribute) {
    unsigned flags =
        DUK_DEFPROP_HAVE_GETTER | DUK_DEFPROP_HAVE_SETTER | DUK_DEFPROP_HAVE_ENUMERABLE | DUK_DEFPROP_HAVE_CONFIGURABLE;
    if (!(attribute & V8_PROPERTY_ATTRIBUTE_DONTENUM)) flags |= DUK_DEFPROP_ENUMERABLE;
    if (!(attribute & V8_PROPERTY_ATTRIBUTE_DONTDELETE)) flags |= DUK_DEFPROP_CONFIGURABLE;
    return RunProperty(PropertyOp::kDefineAccessor, key, nullptr, flags);
}

struct KeysArgs {
    std::vector<CefString>* keys;
};

duk_ret_t KeysBody(duk_context* ctx, void* udata) {
    // A safe call shares the caller's frame: the argument is the top value.
    duk_idx_t self = duk_normalize_index(ctx, -1);
    KeysArgs* a = static_cast<KeysArgs*>(udata);
    duk_enum(ctx, self, DUK_ENUM_OWN_PROPERTIES_ONLY);
    while (duk_next(ctx, -1, 0)) {
        a->keys->push_back(CefString(duk_get_string(ctx, -1)));
        duk_pop(ctx);
    }
    return 0;
}

bool V8ValueImpl::GetKeys(std::vector<CefString>& keys) {
    keys.clear();
    if (!PushSelf()) return false;
    KeysArgs a{&keys};
    return SafeCall(Ctx(), KeysBody, &a, 1, 0);
}

duk_ret_t ArrayLengthBody(duk_context* ctx, void*) {
    // A safe call shares the caller's frame: the argument is the top value.
    duk_idx_t self = duk_normalize_index(ctx, -1);
    duk_push_int(ctx, duk_is_array(ctx, self) ? static_cast<duk_int_t>(duk_get_length(ctx, self)) : 0);
    return 1;
}

int V8ValueImpl::GetArrayLength() {
    if (!PushSelf()) return 0;
    duk_context* ctx = Ctx();
    int length = SafeCall(ctx, ArrayLengthBody, nullptr, 1, 1) ? duk_get_int(ctx, -1) : 0;
    duk_pop(ctx);
    return length;
}

duk_ret_t FunctionIndexBody(duk_context* ctx, void*) {
    // A safe call shares the caller's frame: the argument is the top value.
    duk_idx_t self = duk_normalize_index(ctx, -1);
    if (duk_is_function(ctx, self)) {
        duk_get_prop_string(ctx, self, KESTRO_HIDDEN_FUNCTION);
    } else {
        duk_push_undefined(ctx);
    }
    return 1;
}

int V8ValueImpl::FunctionIndex() {
    if (!PushSelf()) return -1;
    duk_context* ctx = Ctx();
    int index = SafeCall(ctx, FunctionIndexBody, nullptr, 1, 1) ? duk_get_int_default(ctx, -1, -1) : -1;
    duk_pop(ctx);
    return index;
}

CefString V8ValueImpl::GetFunctionName() {
    const ScriptHeap::FunctionBinding* f = heap_.get() ? heap_->Function(FunctionIndex()) : nullptr;
    return f ? f->name : CefString();
}

CefRefPtr<CefV8Handler> V8ValueImpl::GetFunctionHandler() {
    const ScriptHeap::FunctionBinding* f = heap_.get() ? heap_->Function(FunctionIndex()) : nullptr;
    return f ? f->handler : nullptr;
}

// A script call: the trampolines keep no owned locals, since the engine
// long-jumps out of them when it throws; the handler runs in CallHandler or
// CallAccessor, which reach the engine through safe calls only.
enum class CallOutcome { kUndefined, kReturn, kThrow };

// Parks a handler's result on the heap until the trampoline pushes it.
CallOutcome KeepReturn(ScriptHeap* heap, CefRefPtr<CefV8Value> retval) {
    if (!retval.get()) return CallOutcome::kUndefined;
    V8ValueImpl* r = Impl(retval.get());
    if (r->kind() == Kind::kObject && r->heap() != heap) return CallOutcome::kUndefined;
    heap->pending_return = retval;
    return CallOutcome::kReturn;
}

// Ends a trampoline: returns the parked result, throws the parked exception,
// or returns undefined.
duk_ret_t FinishCall(duk_context* ctx, ScriptHeap* heap, CallOutcome outcome) {
    switch (outcome) {
        case CallOutcome::kReturn:
            PushValue(heap, heap->pending_return.get());
            heap->pending_return = nullptr;
            return 1;
        case CallOutcome::kThrow:
            duk_push_error_object(ctx, DUK_ERR_ERROR, "%s", heap->pending_exception.c_str());
            heap->pending_exception.clear();
            return duk_throw(ctx);
        case CallOutcome::kUndefined: break;
    }
    return 0;
}

CallOutcome CallHandler(duk_context* ctx, ScriptHeap* heap, int function_index, duk_idx_t nargs) {
    const ScriptHeap::FunctionBinding* binding = heap->Function(function_index);
    if (!binding || !binding->handler.get()) return CallOutcome::kUndefined;
    CefRefPtr<CefV8Handler> handler = binding->handler;
    CefString name = binding->name;
    CefV8ValueList arguments;
    for (duk_idx_t i = 0; i < nargs; ++i) arguments.push_back(WrapValue(heap, i));
    CefRefPtr<CefV8Value> self = WrapValue(heap, nargs);
    CefRefPtr<CefV8Value> retval;
    CefString exception;
    if (!handler->Execute(name, self, arguments, retval, exception)) return CallOutcome::kUndefined;
    if (!exception.empty()) {
        heap->pending_exception = exception.ToString();
        return CallOutcome::kThrow;
    }
    return KeepReturn(heap, retval);
}

duk_ret_t FunctionTrampoline(duk_context* ctx) {
    duk_idx_t nargs = duk_get_top(ctx);
    duk_push_current_function(ctx);
    duk_get_prop_string(ctx, -1, KESTRO_HIDDEN_FUNCTION);
    int index = duk_get_int_default(ctx, -1, -1);
    duk_pop_2(ctx);
    duk_push_this(ctx);
    duk_require_stack(ctx, 16);
    ScriptHeap* heap = ScriptHeap::From(ctx);
    return FinishCall(ctx, heap, CallHandler(ctx, heap, index, nargs));
}

CallOutcome CallAccessor(duk_context* ctx, ScriptHeap* heap, int accessor_index, bool is_set) {
    CefRefPtr<CefV8Accessor> accessor = heap->Accessor(accessor_index);
    if (!accessor.get()) return CallOutcome::kUndefined;
    // Stack: the assigned value (setters only), this, the key.
    duk_idx_t top = duk_get_top(ctx);
    CefString name = CefString(duk_get_string(ctx, top - 1));
    CefRefPtr<CefV8Value> self = WrapValue(heap, top - 2);
    CefString exception;
    CefRefPtr<CefV8Value> retval;
    bool handled;
    if (is_set) {
        CefRefPtr<CefV8Value> value = WrapValue(heap, 0);
        handled = accessor->Set(name, self, value, exception);
    } else {
        handled = accessor->Get(name, self, retval, exception);
    }
    if (!handled) return CallOutcome::kUndefined;
    if (!exception.empty()) {
        heap->pending_exception = exception.ToString();
        return CallOutcome::kThrow;
    }
    if (is_set) return CallOutcome::kUndefined;
    return KeepReturn(heap, retval);
}

duk_ret_t AccessorTrampoline(duk_context* ctx, bool is_set) {
    duk_set_top(ctx, is_set ? 1 : 0);
    duk_push_this(ctx);
    duk_push_current_function(ctx);
    duk_get_prop_string(ctx, -1, KESTRO_HIDDEN_ACCESSOR);
    int index = duk_get_int_default(ctx, -1, -1);
    duk_pop(ctx);
    duk_get_prop_string(ctx, -1, KESTRO_HIDDEN_KEY);
    duk_remove(ctx, -2);
    duk_require_stack(ctx, 16);
    ScriptHeap* heap = ScriptHeap::From(ctx);
    return FinishCall(ctx, heap, CallAccessor(ctx, heap, index, is_set));
}

duk_ret_t AccessorGet(duk_context* ctx) { return AccessorTrampoline(ctx, false); }
duk_ret_t AccessorSet(duk_context* ctx) { return AccessorTrampoline(ctx, true); }

struct CreateArgs {
    int index;
    int length;
    uint32_t id;
};

duk_ret_t CreateObjectBody(duk_context* ctx, void* udata) {
    CreateArgs* a = static_cast<CreateArgs*>(udata);
    duk_push_object(ctx);
    if (a->index >= 0) {
        duk_push_int(ctx, a->index);
        duk_put_prop_string(ctx, -2, KESTRO_HIDDEN_ACCESSOR);
    }
    return 1;
}

duk_ret_t CreateArrayBody(duk_context* ctx, void* udata) {
    CreateArgs* a = static_cast<CreateArgs*>(udata);
    duk_push_array(ctx);
    duk_push_int(ctx, a->length);
    duk_put_prop_string(ctx, -2, "length");
    return 1;
}

duk_ret_t CreateFunctionBody(duk_context* ctx, void* udata) {
    CreateArgs* a = static_cast<CreateArgs*>(udata);
    duk_push_c_function(ctx, FunctionTrampoline, DUK_VARARGS);
    duk_push_int(ctx, a->index);
    duk_put_prop_string(ctx, -2, KESTRO_HIDDEN_FUNCTION);
    return 1;
}

// Creates an object in the current context's heap; none outside a context.
CefRefPtr<CefV8Value> CreateInCurrent(SafeBody body, CreateArgs* args) {
    ScriptHeap* heap = CurrentHeap();
    if (!heap || !heap->ctx()) return nullptr;
    duk_context* ctx = heap->ctx();
    CefRefPtr<CefV8Value> result;
    if (SafeCall(ctx, body, args, 0, 1)) result = WrapValue(heap, -1);
    duk_pop(ctx);
    return result;
}

}  // namespace

CefRefPtr<CefV8Value> WrapValue(ScriptHeap* heap, duk_idx_t index) {
    duk_context* ctx = heap->ctx();
    switch (duk_get_type(ctx, index)) {
        case DUK_TYPE_NULL: return new V8ValueImpl(Kind::kNull);
        case DUK_TYPE_BOOLEAN: {
            CefRefPtr<V8ValueImpl> v = new V8ValueImpl(Kind::kBool);
            v->set_bool(duk_get_boolean(ctx, index) != 0);
            return v.get();
        }
        case DUK_TYPE_NUMBER: return V8ValueImpl::FromScriptNumber(duk_get_number(ctx, index)).get();
        case DUK_TYPE_STRING: {
            duk_size_t len = 0;
            const char* s = duk_get_lstring(ctx, index, &len);
            return V8ValueImpl::String(CefString(std::string(s, len))).get();
        }
        case DUK_TYPE_OBJECT:
        case DUK_TYPE_LIGHTFUNC: {
            uint32_t id = heap->Retain(index);
            if (!id) return nullptr;
            return V8ValueImpl::Object(heap, id).get();
        }
        case DUK_TYPE_UNDEFINED:
        case DUK_TYPE_NONE: return new V8ValueImpl(Kind::kUndefined);
        default: return new V8ValueImpl(Kind::kOther);
    }
}

bool PushValue(ScriptHeap* heap, CefV8Value* value) {
    duk_context* ctx = heap->ctx();
    V8ValueImpl* v = Impl(value);
    switch (v->kind()) {
        case Kind::kNull: duk_push_null(ctx); return true;
        case Kind::kBool: duk_push_boolean(ctx, v->boolean()); return true;
        case Kind::kNumber: duk_push_number(ctx, v->number()); return true;
        case Kind::kString: duk_push_lstring(ctx, v->engine_text().data(), v->engine_text().size()); return true;
        case Kind::kObject:
            if (v->heap() != heap) {
                duk_push_undefined(ctx);
                return false;
            }
            return ScriptHeap::PushRetained(ctx, v->id());
        default: duk_push_undefined(ctx); return true;
    }
}

}  // namespace standin
}  // namespace kestro

using kestro::standin::CreateArgs;
using kestro::standin::Kind;
using kestro::standin::V8ValueImpl;

CefRefPtr<CefV8Value> CefV8Value::CreateUndefined() { return new V8ValueImpl(Kind::kUndefined); }
CefRefPtr<CefV8Value> CefV8Value::CreateNull() { return new V8ValueImpl(Kind::kNull); }
CefRefPtr<CefV8Value> CefV8Value::CreateBool(bool value) {
    CefRefPtr<V8ValueImpl> v = new V8ValueImpl(Kind::kBool);
    v->set_bool(value);
    return v.get();
}
CefRefPtr<CefV8Value> CefV8Value::CreateInt(int32_t value) { return V8ValueImpl::Int(value).get(); }
CefRefPtr<CefV8Value> CefV8Value::CreateUInt(uint32_t value) { return V8ValueImpl::UInt(value).get(); }
CefRefPtr<CefV8Value> CefV8Value::CreateDouble(double value) { return V8ValueImpl::Double(value).get(); }
CefRefPtr<CefV8Value> CefV8Value::CreateString(const CefString& value) { return V8ValueImpl::String(value).get(); }

CefRefPtr<CefV8Value> CefV8Value::CreateObject(CefRefPtr<CefV8Accessor> accessor) {
    kestro::standin::ScriptHeap* heap = kestro::standin::CurrentHeap();
    if (!heap) return nullptr;
    CreateArgs args{accessor.get() ? heap->AddAccessor(accessor) : -1, 0, 0};
    return kestro::standin::CreateInCurrent(kestro::standin::CreateObjectBody, &args);
}

CefRefPtr<CefV8Value> CefV8Value::CreateArray(int length) {
    CreateArgs args{-1, length < 0 ? 0 : length, 0};
    return kestro::standin::CreateInCurrent(kestro::standin::CreateArrayBody, &args);
}

CefRefPtr<CefV8Value> CefV8Value::CreateFunction(const CefString& name, CefRefPtr<CefV8Handler> handler) {
    kestro::standin::ScriptHeap* heap = kestro::standin::CurrentHeap();
    if (!heap || !handler.get()) return nullptr;
    CreateArgs args{heap->AddFunction(name, handler), 0, 0};
    return kestro::standin::CreateInCurrent(kestro::standin::CreateFunctionBody, &args);
}
