// Hand-over messages come from any local process: decoding must never misread,
// and whatever decodes must be exactly the bytes it came from.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "outside/hubshell/handover_message.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto decoded = kestro::hubshell::DecodeHandOverMessage(bytes);
    if (!decoded) return 0;
    std::string again;
    for (char16_t c : *decoded) {
        if (c == u'\0') __builtin_trap();
        again.push_back(static_cast<char>(c & 0xFF));
        again.push_back(static_cast<char>(c >> 8));
    }
    again.append(2, '\0');
    if (again != bytes) __builtin_trap();
    (void)kestro::hubshell::IsGcappLink(*decoded);
    return 0;
}
