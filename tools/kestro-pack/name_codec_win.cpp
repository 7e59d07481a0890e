#include <windows.h>

#include <string>

#include "name_codec.h"

namespace kestro {
namespace {

bool ToWideText(const std::string& bytes, unsigned codePage, std::wstring& out) {
    if (bytes.empty()) {
        out.clear();
        return true;
    }
    int chars = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), nullptr, 0);
    if (chars <= 0) return false;
    out.assign(size_t(chars), L'\0');
    return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), &out[0], chars) == chars;
}

bool FromWideText(const std::wstring& text, unsigned codePage, std::string& out) {
    if (text.empty()) {
        out.clear();
        return true;
    }
    // UTF-8 takes neither flag; other code pages must not substitute characters.
    bool strict = codePage != CP_UTF8;
    BOOL usedDefault = FALSE;
    DWORD flags = strict ? WC_NO_BEST_FIT_CHARS : 0;
    int bytes = WideCharToMultiByte(codePage, flags, text.data(), int(text.size()), nullptr, 0, nullptr,
                                    strict ? &usedDefault : nullptr);
    if (bytes <= 0 || usedDefault) return false;
    out.assign(size_t(bytes), '\0');
    return WideCharToMultiByte(codePage, flags, text.data(), int(text.size()), &out[0], bytes, nullptr,
                               strict ? &usedDefault : nullptr) == bytes &&
           !usedDefault;
}

class WindowsNameCodec : public NameCodec {
public:
    bool FromUtf8(const std::string& utf8, unsigned codePage, std::string& out) const override {
        std::wstring wide;
        return ToWideText(utf8, CP_UTF8, wide) && FromWideText(wide, codePage, out);
    }
    bool ToUtf8(const std::string& bytes, unsigned codePage, std::string& out) const override {
        std::wstring wide;
        return ToWideText(bytes, codePage, wide) && FromWideText(wide, CP_UTF8, out);
    }
    bool Supports(unsigned codePage) const override { return IsValidCodePage(codePage) != 0; }
};

}  // namespace

std::unique_ptr<NameCodec> MakeSystemNameCodec() { return std::make_unique<WindowsNameCodec>(); }

}  // namespace kestro
