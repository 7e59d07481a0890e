#include "services/base/utf8.h"

#include <cstdint>

namespace kestro {
namespace {

const uint32_t kReplacement = 0xFFFD;

bool IsSurrogate(uint32_t cp) { return cp >= 0xD800 && cp <= 0xDFFF; }

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Code units of 16 bits take a surrogate pair above the basic plane; wider ones take
// the code point itself.
template <class String>
void AppendUnits(String& out, uint32_t cp) {
    using Unit = typename String::value_type;
    if (sizeof(Unit) == 2 && cp >= 0x10000) {
        cp -= 0x10000;
        out += static_cast<Unit>(0xD800 + (cp >> 10));
        out += static_cast<Unit>(0xDC00 + (cp & 0x3FF));
    } else {
        out += static_cast<Unit>(cp);
    }
}

template <class String>
String DecodeUtf8(const std::string& text) {
    String out;
    out.reserve(text.size());
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char lead = s[i];
        size_t extra;
        uint32_t cp;
        uint32_t minimum;
        if (lead < 0x80) {
            AppendUnits(out, lead);
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, cp = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, cp = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, cp = lead & 0x07, minimum = 0x10000;
        } else {
            AppendUnits(out, kReplacement);
            ++i;
            continue;
        }
        size_t j = 1;
        for (; j <= extra && i + j < n && (s[i + j] & 0xC0) == 0x80; ++j) cp = (cp << 6) | (s[i + j] & 0x3F);
        // A sequence cut short, or one that is overlong, a surrogate or beyond Unicode:
        // one replacement for the lead byte and the continuation bytes read with it.
        if (j <= extra || cp < minimum || IsSurrogate(cp) || cp > 0x10FFFF) cp = kReplacement;
        AppendUnits(out, cp);
        i += j;
    }
    return out;
}

}  // namespace

std::string Utf8FromWide(const std::wstring& text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t cp = static_cast<uint32_t>(text[i]);
        if (sizeof(wchar_t) == 2 && cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
            const uint32_t low = static_cast<uint32_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (IsSurrogate(cp) || cp > 0x10FFFF) cp = kReplacement;
        AppendUtf8(out, cp);
    }
    return out;
}

std::wstring WideFromUtf8(const std::string& text) { return DecodeUtf8<std::wstring>(text); }

std::u16string Utf16FromUtf8(const std::string& text) { return DecodeUtf8<std::u16string>(text); }

}  // namespace kestro
