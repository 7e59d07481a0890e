#include "web/bridge_arguments.h"

#include <cmath>
#include <cstdio>

namespace kestro {

namespace {

bool IsWholeNumber(double number) { return std::isfinite(number) && std::trunc(number) == number; }

// The value of a number, whichever kind the runtime holds it in. Only the
// double getter gives it for every kind: the integer checks are true for int
// and uint alike, and the integer getters read one shared store either way.
bool NumberValue(CefRefPtr<CefV8Value> value, double* number) {
    if (!value->IsDouble()) return false;
    *number = value->GetDoubleValue();
    return true;
}

}  // namespace

int ObjectListLength(bool is_number, double length) {
    if (!is_number || !IsWholeNumber(length) || length < 0 || length > kMaxObjectListLength) return 0;
    return static_cast<int>(length);
}

bool IntegerEntry(double number, int32_t* entry) {
    if (!IsWholeNumber(number) || number < INT32_MIN || number > INT32_MAX) return false;
    *entry = static_cast<int32_t>(number);
    return true;
}

namespace {

// The string elements of an object argument, at their own indices.
CefRefPtr<CefListValue> ObjectToList(CefRefPtr<CefV8Value> object) {
    CefRefPtr<CefListValue> list = CefListValue::Create();
    CefRefPtr<CefV8Value> length = object->GetValue("length");
    double number = 0;
    const bool is_number = length.get() && NumberValue(length, &number);
    const int n = ObjectListLength(is_number, number);
    for (int j = 0; j < n; ++j) {
        char key[16];
        std::snprintf(key, sizeof key, "%ld", static_cast<long>(j));
        CefRefPtr<CefV8Value> element = object->GetValue(key);
        if (element.get() && element->IsString()) list->SetString(j, element->GetStringValue());
    }
    return list;
}

}  // namespace

void FillArgumentList(const CefV8ValueList& arguments, CefRefPtr<CefListValue> list) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        CefRefPtr<CefV8Value> arg = arguments[i];
        int index = static_cast<int>(i);
        if (!arg.get()) continue;
        double number = 0;
        if (arg->IsString()) {
            list->SetString(index, arg->GetStringValue());
        } else if (arg->IsBool()) {
            list->SetBool(index, arg->GetBoolValue());
        } else if (NumberValue(arg, &number)) {
            // A number that is no integer entry carries no value.
            int32_t entry = 0;
            if (IntegerEntry(number, &entry)) list->SetInt(index, entry);
        } else if (arg->IsObject() && !arg->IsFunction()) {
            // Functions are objects to the runtime but carry no value across.
            list->SetList(index, ObjectToList(arg));
        }
    }
}

}  // namespace kestro
