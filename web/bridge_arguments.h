#ifndef KESTRO_WEB_BRIDGE_ARGUMENTS_H_
#define KESTRO_WEB_BRIDGE_ARGUMENTS_H_

#include <cstdint>

#include "include/cef_v8.h"
#include "include/cef_values.h"

namespace kestro {

// Longest list taken from an object argument: its "length" is script-controlled
// and must not make the renderer spin or exhaust memory.
inline constexpr int kMaxObjectListLength = 65536;

// Entries an object argument contributes, from its "length" property read as a
// number: a whole number from 0 to kMaxObjectListLength is taken as it is;
// anything else (missing, non-numeric, negative, fractional, beyond the cap) is 0.
int ObjectListLength(bool is_number, double length);

// Whether a script number becomes an integer entry: a whole number in the
// signed 32-bit range (negative zero counts as 0). |*entry| gets its value.
bool IntegerEntry(double number, int32_t* entry);

// Fills |list| (already sized) from the script arguments: strings, booleans and
// signed 32-bit integers keep their value, objects become lists of their string
// elements, everything else leaves the entry without a value.
void FillArgumentList(const CefV8ValueList& arguments, CefRefPtr<CefListValue> list);

}  // namespace kestro

#endif  // KESTRO_WEB_BRIDGE_ARGUMENTS_H_
