#ifndef KESTRO_WEB_BRIDGE_ARGUMENTS_H_
#define KESTRO_WEB_BRIDGE_ARGUMENTS_H_

#include "include/cef_v8.h"
#include "include/cef_values.h"

namespace kestro {

// Longest list taken from an object argument: its "length" is script-controlled
// and must not make the renderer spin or exhaust memory.
inline constexpr int kMaxObjectListLength = 65536;

// Entries an object argument contributes, from its "length" property read as a
// number: whole part, 0 for negative, missing or non-numeric, capped at kMaxObjectListLength.
int ObjectListLength(bool is_number, double length);

// Fills |list| (already sized) from the script arguments: strings, booleans and
// signed 32-bit integers keep their value, objects become lists of their string
// elements, everything else leaves the entry without a value.
void FillArgumentList(const CefV8ValueList& arguments, CefRefPtr<CefListValue> list);

}  // namespace kestro

#endif  // KESTRO_WEB_BRIDGE_ARGUMENTS_H_
