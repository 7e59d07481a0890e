// Reads arbitrary bytes as a skin package: every accepted package writes back to the
// same bytes, and its description, directory, look-ups and font records are walked.
#include <cstddef>
#include <cstdint>
#include <string>

#include "uikit/core/font_record.h"
#include "uikit/core/skin_package.h"
#include "uikit/core/skin_tree.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kestro::SkinPackage package;
    if (kestro::ParseSkinPackage(data, size, package) != kestro::SkinPackageError::None) return 0;
    const std::string written = kestro::WriteSkinPackage(package);
    if (written != std::string(reinterpret_cast<const char*>(data), size)) {
        // Only trailing bytes after the last record may differ.
        if (written.size() > size || written.compare(0, written.size(), reinterpret_cast<const char*>(data),
                                                     written.size()) != 0)
            __builtin_trap();
    }
    std::string text = package.description;
    const size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    kestro::JValue description;
    kestro::JValue::Parse(text, description);
    const kestro::SkinDirectory directory = kestro::BuildSkinDirectory(description, kestro::SkinBlobTable(package));
    for (const auto& category : directory)
        for (const auto& blob : category.second) {
            kestro::FontRecord record;
            kestro::ParseFontRecord(blob.second, record);
        }
    const kestro::JValue cfg = description["cfg"];
    for (const char* path : {"MainWindow/PublishBtn", "/Meta//shadeleft", "a/b/c/d", ""}) {
        if (auto node = kestro::FindSkinNode(cfg, path)) {
            kestro::SkinRect((*node)["size"]);
            kestro::SkinColor((*node)["bc"]);
            kestro::SkinPoint((*node)["of"]);
            kestro::DecodeSkinText((*node)["tx"].AsText());
        }
    }
    return 0;
}
