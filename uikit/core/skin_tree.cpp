#include "skin_tree.h"

#include "services/base/utf8.h"
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
    return Utf16FromUtf8(Base64Decode(base64.c_str(), arena));
}

}  // namespace kestro
