#include "services/http/ipv4_text.h"

namespace kestro {

bool ParseDottedIPv4(const std::string& text, uint32_t& networkOrder) {
    uint8_t parts[4];
    size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != '.') return false;
            ++pos;
        }
        size_t digits = 0;
        unsigned value = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 4) {
            value = value * 10 + static_cast<unsigned>(text[pos] - '0');
            ++pos;
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255) return false;
        parts[i] = static_cast<uint8_t>(value);
    }
    if (pos != text.size()) return false;
    // Byte order in memory is the order of the parts, whatever the host's endianness.
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&networkOrder);
    for (int i = 0; i < 4; ++i) bytes[i] = parts[i];
    return true;
}

}  // namespace kestro
