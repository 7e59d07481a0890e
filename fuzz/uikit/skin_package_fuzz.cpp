// A skin package as the toolkit loads it: the container, its description, the blob
// directory, path look-ups with paths taken from the input, the value getters, skin
// texts and font records. A package that parses must write back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "services/base/utf8.h"
#include "uikit/core/font_record.h"
#include "uikit/core/skin_package.h"
#include "uikit/core/skin_tree.h"

namespace {

void ReadNode(const kestro::JValue& node) {
    (void)kestro::SkinInt(node);
    (void)kestro::SkinRect(node);
    (void)kestro::SkinPoint(node);
    (void)kestro::SkinColor(node);
    if (node.IsString()) (void)kestro::DecodeSkinText(node.AsText());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kestro::SkinPackage package;
    if (kestro::ParseSkinPackage(data, size, package) != kestro::SkinPackageError::None) return 0;
    const std::string written = kestro::WriteSkinPackage(package);
    if (written.size() > size || written.compare(0, written.size(), reinterpret_cast<const char*>(data), written.size()) != 0)
        __builtin_trap();

    std::string text = package.description;
    const size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    kestro::JValue description;
    if (!kestro::JValue::Parse(text, description)) description = kestro::JValue();
    const kestro::SkinDirectory directory = kestro::BuildSkinDirectory(description, kestro::SkinBlobTable(package));
    for (const auto& category : directory)
        for (const auto& blob : category.second) {
            kestro::FontRecord font;
            if (category.first == "fonts" && kestro::ParseFontRecord(blob.second, font) &&
                font.faceName.size() > kestro::kMaxFaceNameLength)
                __builtin_trap();
        }

    // Blobs double as look-up paths, so the fuzzer can steer them into the tree.
    const kestro::JValue cfg = description["cfg"];
    for (const auto& record : package.records) {
        std::string path = record.second.substr(0, 256);
        const size_t end = path.find('\0');
        if (end != std::string::npos) path.resize(end);
        auto node = kestro::FindSkinNode(cfg, path.c_str());
        if (!node) continue;
        ReadNode(*node);
        for (const std::string& key : node->MemberNames()) ReadNode((*node)[key]);
    }
    (void)kestro::Utf16FromUtf8(text);
    return 0;
}
