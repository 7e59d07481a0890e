#include "web/bridge_arguments.h"

#include <climits>
#include <cmath>
#include <cstdio>

namespace kestro {

int ObjectListLength(bool is_number, double length) {
  if (!is_number || std::isnan(length) || length < 1) return 0;
  if (length >= kMaxObjectListLength) return kMaxObjectListLength;
  return static_cast<int>(length);
}

namespace {

// A number the list can carry as an integer. Checked against the unsigned view
// too, so a runtime that also reports values in 2^31..2^32-1 as integers cannot
// let them wrap to negative numbers.
bool IsSigned32(CefRefPtr<CefV8Value> value) {
  if (!value->IsInt()) return false;
  return !(value->IsUInt() && value->GetUIntValue() > static_cast<uint32_t>(INT_MAX));
}

// The string elements of an object argument, at their own indices.
CefRefPtr<CefListValue> ObjectToList(CefRefPtr<CefV8Value> object) {
  CefRefPtr<CefListValue> list = CefListValue::Create();
  CefRefPtr<CefV8Value> length = object->GetValue("length");
  // Each number read through the getter of its own kind, so no runtime's
  // conversion rules between kinds matter.
  int n = 0;
  if (length.get()) {
    if (IsSigned32(length)) {
      n = ObjectListLength(true, length->GetIntValue());
    } else if (length->IsUInt()) {
      n = ObjectListLength(true, length->GetUIntValue());
    } else {
      n = ObjectListLength(length->IsDouble(), length->IsDouble() ? length->GetDoubleValue() : 0);
    }
  }
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
    if (arg->IsString()) {
      list->SetString(index, arg->GetStringValue());
    } else if (arg->IsBool()) {
      list->SetBool(index, arg->GetBoolValue());
    } else if (IsSigned32(arg)) {
      list->SetInt(index, arg->GetIntValue());
    } else if (arg->IsObject() && !arg->IsFunction()) {
      // Functions are objects to the runtime but carry no value across.
      list->SetList(index, ObjectToList(arg));
    }
  }
}

}  // namespace kestro
