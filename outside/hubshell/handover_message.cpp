#include "outside/hubshell/handover_message.h"

namespace kestro::hubshell {

std::optional<std::u16string> DecodeHandOverMessage(std::string_view bytes) {
    if (bytes.size() < 2 || bytes.size() % 2 != 0 || bytes.size() > kMaxHandOverBytes) return std::nullopt;
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i < bytes.size(); i += 2) {
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    if (text.back() != u'\0') return std::nullopt;
    text.pop_back();
    // An inner zero would silently cut the command line short further on.
    if (text.find(u'\0') != std::u16string::npos) return std::nullopt;
    return text;
}

bool IsGcappLink(std::u16string_view word) {
    constexpr std::u16string_view scheme = u"gcapp:";
    if (word.size() < scheme.size()) return false;
    for (size_t i = 0; i < scheme.size(); ++i) {
        char16_t c = word[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != scheme[i]) return false;
    }
    return true;
}

std::string HexOf(std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

}  // namespace kestro::hubshell
