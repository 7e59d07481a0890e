#include "base64.h"

#include <cstdint>
#include <cstring>

namespace kestro {
namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Value of a Base64 character; "=" reads as 0; -1 outside the alphabet.
int CharValue(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    if (c == '=') return 0;
    return -1;
}

}  // namespace

const char* Base64Encode(ConversionArena& arena, const char* text) {
    size_t length = text ? strlen(text) : 0;
    if (length == 0) return kEmptyNarrow;
    char* out = arena.AllocNarrow(3 * length + 128);
    const unsigned char* in = reinterpret_cast<const unsigned char*>(text);
    char* w = out;
    size_t i = 0;
    for (; i + 3 <= length; i += 3) {
        uint32_t n = uint32_t(in[i]) << 16 | uint32_t(in[i + 1]) << 8 | in[i + 2];
        *w++ = kAlphabet[n >> 18];
        *w++ = kAlphabet[(n >> 12) & 63];
        *w++ = kAlphabet[(n >> 6) & 63];
        *w++ = kAlphabet[n & 63];
    }
    if (i < length) {
        uint32_t n = uint32_t(in[i]) << 16;
        if (i + 1 < length) n |= uint32_t(in[i + 1]) << 8;
        *w++ = kAlphabet[n >> 18];
        *w++ = kAlphabet[(n >> 12) & 63];
        *w++ = i + 1 < length ? kAlphabet[(n >> 6) & 63] : '=';
        *w++ = '=';
    }
    *w = 0;
    return out;
}

const char* Base64Decode(const char* text, ConversionArena& arena) {
    if (!text || !*text) return kEmptyNarrow;
    size_t length = 0;
    while (text[length] && CharValue(static_cast<unsigned char>(text[length])) >= 0) ++length;
    // Room for the last group's three bytes and the terminator, whatever the tail.
    char* out = arena.AllocNarrow(length + 4);
    if (length == 0) return out;
    char* w = out;
    size_t lastGroup = (length - 1) / 4 * 4;
    auto at = [&](size_t i) -> unsigned char { return i < length ? static_cast<unsigned char>(text[i]) : '='; };
    for (size_t i = 0; i < lastGroup; i += 4) {
        uint32_t n = uint32_t(CharValue(at(i))) << 18 | uint32_t(CharValue(at(i + 1))) << 12 |
                     uint32_t(CharValue(at(i + 2))) << 6 | uint32_t(CharValue(at(i + 3)));
        *w++ = char(n >> 16);
        *w++ = char(n >> 8);
        *w++ = char(n);
    }
    unsigned char c0 = at(lastGroup), c1 = at(lastGroup + 1), c2 = at(lastGroup + 2), c3 = at(lastGroup + 3);
    uint32_t n = uint32_t(CharValue(c0)) << 18 | uint32_t(CharValue(c1)) << 12 | uint32_t(CharValue(c2)) << 6 |
                 uint32_t(CharValue(c3));
    *w++ = char(n >> 16);
    if (c1 != '=' && c2 != '=') *w++ = char(n >> 8);
    if (c2 != '=' && c3 != '=') *w++ = char(n);
    *w = 0;
    return out;
}

}  // namespace kestro
