#include "include/internal/cef_string.h"

#include <cstdint>

namespace {

// Reads UTF-8 (and CESU-8, where surrogates come as separate 3-byte sequences)
// into UTF-16; malformed bytes become U+FFFD.
std::u16string Utf8ToUtf16(const std::string& in) {
    std::u16string out;
    out.reserve(in.size());
    size_t i = 0;
    while (i < in.size()) {
        unsigned char c = static_cast<unsigned char>(in[i]);
        uint32_t cp;
        size_t extra;
        if (c < 0x80) {
            cp = c;
            extra = 0;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            extra = 3;
        } else {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        if (extra > 0 && i + extra >= in.size()) {
            out.push_back(0xFFFD);
            break;
        }
        bool ok = true;
        for (size_t k = 1; k <= extra; ++k) {
            unsigned char cc = static_cast<unsigned char>(in[i + k]);
            if ((cc & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!ok || cp > 0x10FFFF) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        i += extra + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

void CefString::FromString(const std::string& utf8) { str_ = Utf8ToUtf16(utf8); }

void CefString::FromWString(const std::wstring& wide) {
    str_.clear();
    for (wchar_t wc : wide) {
        uint32_t cp = static_cast<uint32_t>(wc);
        if (sizeof(wchar_t) == 4 && cp >= 0x10000) {
            cp -= 0x10000;
            str_.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            str_.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            str_.push_back(static_cast<char16_t>(cp));
        }
    }
}

std::string CefString::ToString() const {
    std::string out;
    out.reserve(str_.size());
    for (size_t i = 0; i < str_.size(); ++i) {
        uint32_t cu = str_[i];
        if (cu >= 0xD800 && cu < 0xDC00 && i + 1 < str_.size() && str_[i + 1] >= 0xDC00 && str_[i + 1] < 0xE000) {
            AppendUtf8(out, 0x10000 + ((cu - 0xD800) << 10) + (str_[i + 1] - 0xDC00));
            ++i;
        } else {
            AppendUtf8(out, cu);
        }
    }
    return out;
}

std::wstring CefString::ToWString() const {
    if (sizeof(wchar_t) == 2) return std::wstring(str_.begin(), str_.end());
    std::wstring out;
    for (size_t i = 0; i < str_.size(); ++i) {
        uint32_t cu = str_[i];
        if (cu >= 0xD800 && cu < 0xDC00 && i + 1 < str_.size() && str_[i + 1] >= 0xDC00 && str_[i + 1] < 0xE000) {
            out.push_back(static_cast<wchar_t>(0x10000 + ((cu - 0xD800) << 10) + (str_[i + 1] - 0xDC00)));
            ++i;
        } else {
            out.push_back(static_cast<wchar_t>(cu));
        }
    }
    return out;
}
