#pragma once
#include "conversion_arena.h"

namespace kestro {

// Standard alphabet with "=" padding, no line breaks. The input ends at its first NUL.
const char* Base64Encode(ConversionArena& arena, const char* text);

// Decodes into a NUL-terminated buffer of the arena. Decoding stops at the first
// character outside the alphabet and "="; a tail of 1 to 3 characters still gives
// its leading bytes. Callers use the result as text (it ends at its first NUL).
const char* Base64Decode(const char* text, ConversionArena& arena);

}  // namespace kestro
