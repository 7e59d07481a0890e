#include "services/machine/smbios.h"

#include <cstdio>
#include <cstring>

namespace kestro {

namespace {

const size_t kRawHeaderSize = 8;
const size_t kScanLastOffset = 0xFFF0;
const size_t kSmAnchorLastOffset = 0xFFE0;
const uint8_t kSystemInformationType = 1;
const size_t kUuidOffset = 8;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

bool SumsToZero(const uint8_t* p, size_t n) {
    uint8_t sum = 0;
    for (size_t i = 0; i < n; ++i) sum = static_cast<uint8_t>(sum + p[i]);
    return sum == 0;
}

// Offset just past the double NUL that ends the string set starting at `from`, or the
// table's end when it is missing.
size_t EndOfStrings(const uint8_t* table, size_t length, size_t from) {
    for (size_t i = from; i + 1 < length; ++i) {
        if (table[i] == 0 && table[i + 1] == 0) return i + 2;
    }
    return length;
}

}  // namespace

std::string FormatSystemUuid(const uint8_t b[16]) {
    char text[40];
    std::snprintf(text, sizeof(text), "%02X%02X%02X%02X-%02X%02X%02X%02X-%02X%02X%02X%02X-%02X%02X%02X%02X", b[0], b[1],
                  b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
    return text;
}

int CountSmbiosStructures(const uint8_t* table, size_t length) {
    int count = 0;
    size_t pos = 0;
    while (table && pos + 1 < length) {
        size_t formatted = table[pos + 1];
        if (formatted < 4 || pos + formatted > length) break;
        pos = EndOfStrings(table, length, pos + formatted);
        ++count;
    }
    return count;
}

std::string FindSystemUuid(const uint8_t* table, size_t length, int count) {
    size_t pos = 0;
    for (int i = 0; table && i < count; ++i) {
        if (length < 4 || pos > length - 4) break;
        size_t formatted = table[pos + 1];
        if (formatted < 4) break;
        size_t stringsEnd = EndOfStrings(table, length, pos + formatted);
        bool inside = pos + formatted <= length;
        if (inside && table[pos] == kSystemInformationType && formatted > kUuidOffset + 16) {
            return FormatSystemUuid(table + pos + kUuidOffset);
        }
        if (!inside) break;
        pos = stringsEnd;
    }
    return std::string();
}

std::string SystemUuidFromRawSmbios(const uint8_t* data, size_t size) {
    if (!data || size < kRawHeaderSize) return std::string();
    size_t held = size - kRawHeaderSize;
    size_t length = U32(data + 4);
    if (length > held) length = held;
    const uint8_t* table = data + kRawHeaderSize;
    return FindSystemUuid(table, length, CountSmbiosStructures(table, length));
}

bool FindSmbiosEntryPoint(const uint8_t* area, size_t size, SmbiosTableLocation& out) {
    out = SmbiosTableLocation();
    if (!area) return false;
    for (size_t at = 0; at <= kScanLastOffset && at + 16 <= size; at += 16) {
        const uint8_t* p = area + at;
        if (at <= kSmAnchorLastOffset && std::memcmp(p, "_SM_", 4) == 0) {
            size_t entryLength = p[5];
            if (at + 31 > size || at + entryLength > size) return false;
            if (!SumsToZero(p, entryLength) || !SumsToZero(p + 16, 15) || std::memcmp(p + 16, "_DMI_", 5) != 0) {
                return false;
            }
            out.length = U16(p + 22);
            out.address = U32(p + 24);
            out.count = U16(p + 28);
            return true;
        }
        if (at + 5 <= size && std::memcmp(p, "_DMI_", 5) == 0) {
            if (!SumsToZero(p, 15)) return false;
            out.length = U16(p + 6);
            out.address = U32(p + 8);
            out.count = U16(p + 12);
            return true;
        }
    }
    return false;
}

}  // namespace kestro
