#include "conversion_arena.h"

namespace kestro {

const char kEmptyNarrow[1] = {0};
const wchar_t kEmptyWide[1] = {0};

char* ConversionArena::AllocNarrow(size_t count) {
    narrow_.emplace_back(new char[count]());
    return narrow_.back().get();
}

wchar_t* ConversionArena::AllocWide(size_t count) {
    wide_.emplace_back(new wchar_t[count]());
    return wide_.back().get();
}

void ConversionArena::Clear() {
    narrow_.clear();
    wide_.clear();
}

}  // namespace kestro
