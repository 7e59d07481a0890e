#include "text_convert.h"

#include <windows.h>

namespace kestro {

const wchar_t* ToWide(const char* text, ConversionArena& arena, unsigned codePage) {
    if (!text) return kEmptyWide;
    int needed = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (needed <= 0) return kEmptyWide;
    wchar_t* out = arena.AllocWide(size_t(needed) + 1);
    int written = MultiByteToWideChar(codePage, 0, text, -1, out, needed);
    out[written > 0 ? written : 0] = 0;
    return out;
}

const char* ToNarrow(const wchar_t* text, ConversionArena& arena, unsigned codePage) {
    if (!text) return kEmptyNarrow;
    int needed = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return kEmptyNarrow;
    char* out = arena.AllocNarrow(size_t(needed) + 1);
    int written = WideCharToMultiByte(codePage, 0, text, -1, out, needed, nullptr, nullptr);
    out[written > 0 ? written : 0] = 0;
    return out;
}

}  // namespace kestro
