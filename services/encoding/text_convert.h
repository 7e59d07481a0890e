#pragma once
#include "conversion_arena.h"

namespace kestro {

// Code-page conversions through the system; results are owned by the arena.
// Null or unconvertible input gives the shared empty text and allocates nothing.
const wchar_t* ToWide(const char* text, ConversionArena& arena, unsigned codePage);
const char* ToNarrow(const wchar_t* text, ConversionArena& arena, unsigned codePage);

}  // namespace kestro
