#include "skin_tree.h"

#include "services/encoding/base64.h"

namespace kestro {

std::optional<JValue> FindSkinNode(const JValue& base, const char* path) {
    JValue node = base;
    const std::string text = path ? path : "";
    size_t start = 0;
    while (start <= text.size()) {
        size_t slash = text.find('/', start);
        if (slash == std::string::npos) slash = text.size();
        if (slash > start) {
            const std::string name = text.substr(start, slash - start);
            if (!node.HasMember(name)) return std::nullopt;
            node = node[name];
        }
        start = slash + 1;
    }
    return node;
}

SkinDirectory BuildSkinDirectory(const JValue& description, const std::map<uint32_t, std::string>& blobs) {
    SkinDirectory directory;
    const JValue res = description["res"];
    for (const std::string& category : res.MemberNames()) {
        const JValue entries = res[category];
        for (size_t i = 0; i < entries.Size(); ++i) {
            const int id = entries.At(i)["id"].AsInt();
            auto blob = blobs.find(uint32_t(id));
            if (blob != blobs.end()) directory[category][id] = blob->second;
        }
    }
    return directory;
}

int SkinInt(const JValue& node) { return node.GetKind() == JValue::Kind::Int ? node.AsInt() : 0; }

std::array<int, 4> SkinRect(const JValue& node) {
    std::array<int, 4> r{};
    if (node.IsArray() && node.Size() == 4)
        for (size_t i = 0; i < 4; ++i) r[i] = node.At(i).AsInt();
    return r;
}

std::array<int, 2> SkinPoint(const JValue& node) {
    std::array<int, 2> p{};
    if (node.IsArray() && node.Size() == 2)
        for (size_t i = 0; i < 2; ++i) p[i] = node.At(i).AsInt();
    return p;
}

uint32_t SkinColor(const JValue& node) {
    if (!node.IsArray() || node.Size() != 3) return 0;
    const uint32_t r = uint32_t(node.At(0).AsInt()) & 0xFF;
    const uint32_t g = uint32_t(node.At(1).AsInt()) & 0xFF;
    const uint32_t b = uint32_t(node.At(2).AsInt()) & 0xFF;
    return r | g << 8 | b << 16;
}

std::u16string DecodeSkinText(const std::string& base64) {
    ConversionArena arena;
    return Utf8ToUtf16(Base64Decode(base64.c_str(), arena));
}

std::u16string Utf8ToUtf16(const std::string& text) {
    std::u16string out;
    out.reserve(text.size());
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        uint32_t cp = 0xFFFD;
        size_t extra = 0;
        uint32_t min = 0;
        if (c < 0x80) { cp = c; }
        else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; extra = 1; min = 0x80; }
        else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; extra = 2; min = 0x800; }
        else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; extra = 3; min = 0x10000; }
        else { out.push_back(u'\xFFFD'); ++i; continue; }
        size_t k = 1;
        for (; k <= extra; ++k) {
            if (i + k >= n || (s[i + k] & 0xC0) != 0x80) break;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if (k <= extra || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(u'\xFFFD');
            i += k;  // skip the lead byte and the continuation bytes that were valid
            continue;
        }
        i += extra + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(char16_t(0xD800 + (cp >> 10)));
            out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(char16_t(cp));
        }
    }
    return out;
}

}  // namespace kestro
