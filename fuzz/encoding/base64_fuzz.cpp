// Decodes arbitrary text, and checks that encoding then decoding gives the text back.
#include "services/encoding/base64.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    kestro::ConversionArena arena;
    (void)kestro::Base64Decode(text.c_str(), arena);
    const char* encoded = kestro::Base64Encode(arena, text.c_str());
    const char* decoded = kestro::Base64Decode(encoded, arena);
    if (strcmp(decoded, text.c_str()) != 0) __builtin_trap();
    return 0;
}
