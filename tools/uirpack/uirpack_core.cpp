#include "uirpack_core.h"

#include <map>
#include <set>

#include "services/json/jvalue.h"
#include "uikit/core/skin_package.h"

namespace kestro {
namespace {

struct Entry {
    std::string category;
    std::string name;
};

// id -> (category, name) from the description's "res" member.
std::map<uint32_t, Entry> DirectoryOf(const JValue& description) {
    std::map<uint32_t, Entry> entries;
    const JValue res = description["res"];
    for (const std::string& category : res.MemberNames()) {
        const JValue list = res[category];
        for (size_t i = 0; i < list.Size(); ++i)
            entries[uint32_t(list.At(i)["id"].AsInt())] = Entry{category, list.At(i)["name"].AsText()};
    }
    return entries;
}

bool IsPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name)
        if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 32) return false;
    return true;
}

bool ParseDescription(const std::string& text, JValue& out, std::string& error) {
    std::string json = text;
    const size_t nul = json.find('\0');
    if (nul != std::string::npos) json.resize(nul);
    if (!JValue::Parse(json, out) || !out.IsObject()) {
        error = "the description is not a JSON object";
        return false;
    }
    return true;
}

uint32_t ReadBigEndian(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) << 24 | uint32_t(uint8_t(b[at + 1])) << 16 | uint32_t(uint8_t(b[at + 2])) << 8 |
           uint32_t(uint8_t(b[at + 3]));
}

}  // namespace

bool ReadPngSize(const std::string& bytes, uint32_t& width, uint32_t& height) {
    static const char kSignature[] = "\x89PNG\r\n\x1a\n";
    if (bytes.size() < 24 || bytes.compare(0, 8, kSignature, 8) != 0 || bytes.compare(12, 4, "IHDR") != 0)
        return false;
    width = ReadBigEndian(bytes, 16);
    height = ReadBigEndian(bytes, 20);
    return true;
}

bool BuildUirPackage(const std::string& description, const BlobReader& read, std::string& package,
                     std::string& error) {
    JValue parsed;
    if (!ParseDescription(description, parsed, error)) return false;
    if (!parsed["cfg"].IsObject()) {
        error = "the description has no \"cfg\" object";
        return false;
    }
    if (!parsed["res"].IsObject()) {
        error = "the description has no \"res\" object";
        return false;
    }
    SkinPackage out;
    std::set<int64_t> ids;
    const JValue res = parsed["res"];
    for (const std::string& category : res.MemberNames()) {
        const JValue list = res[category];
        if (!list.IsArray()) {
            error = "\"res/" + category + "\" is not an array";
            return false;
        }
        for (size_t i = 0; i < list.Size(); ++i) {
            const JValue entry = list.At(i);
            const int64_t id = entry["id"].AsInt64();
            const std::string name = entry["name"].AsText();
            if (id < 0 || id > 0xFFFFFFFFll) {
                error = "entry " + std::to_string(i) + " of \"" + category + "\" has no valid id";
                return false;
            }
            if (!ids.insert(id).second) {
                error = "id " + std::to_string(id) + " is used twice";
                return false;
            }
            if (!IsPlainFileName(name)) {
                error = "id " + std::to_string(id) + " has no plain file name";
                return false;
            }
            std::string bytes;
            if (!read(name, bytes)) {
                error = "cannot read \"" + name + "\" (id " + std::to_string(id) + ")";
                return false;
            }
            if (bytes.empty()) {
                error = "\"" + name + "\" is empty";
                return false;
            }
            out.records.emplace_back(uint32_t(id), std::move(bytes));
        }
    }
    out.description = parsed.WriteCompact();
    out.description.push_back('\0');
    package = WriteSkinPackage(out);
    return true;
}

bool InspectUirPackage(const std::string& package, std::string& listing, std::string& error) {
    SkinPackage parsed;
    const SkinPackageError e = ParseSkinPackage(package.data(), package.size(), parsed);
    if (e != SkinPackageError::None) {
        error = SkinPackageErrorText(e);
        return false;
    }
    JValue description;
    std::string descError;
    const bool described = ParseDescription(parsed.description, description, descError);
    const auto entries = described ? DirectoryOf(description) : std::map<uint32_t, Entry>{};
    listing = "package: " + std::to_string(package.size()) + " bytes, description " +
              std::to_string(parsed.description.size()) + " bytes, " + std::to_string(parsed.records.size()) +
              " blobs\n";
    listing += "description:\n";
    listing += described ? description.WriteCompact() : "(" + descError + ")\n";
    listing += "blobs:\n";
    for (const auto& record : parsed.records) {
        auto entry = entries.find(record.first);
        std::string line = "  " + std::to_string(record.first) + "  " +
                           (entry != entries.end() ? entry->second.category : std::string("-")) + "  " +
                           std::to_string(record.second.size()) + " bytes";
        uint32_t w = 0, h = 0;
        if (ReadPngSize(record.second, w, h)) line += "  PNG " + std::to_string(w) + " x " + std::to_string(h);
        if (entry != entries.end() && !entry->second.name.empty()) line += "  " + entry->second.name;
        listing += line + "\n";
    }
    return true;
}

bool ExtractUirPackage(const std::string& package, std::vector<ExtractedFile>& files, std::string& error) {
    SkinPackage parsed;
    const SkinPackageError e = ParseSkinPackage(package.data(), package.size(), parsed);
    if (e != SkinPackageError::None) {
        error = SkinPackageErrorText(e);
        return false;
    }
    std::string text = parsed.description;
    const size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    JValue description;
    JValue::Parse(text, description);
    const auto entries = DirectoryOf(description);
    files.clear();
    files.push_back(ExtractedFile{kSkinDescriptionFile, text});
    std::set<std::string> used{kSkinDescriptionFile};
    for (const auto& record : parsed.records) {
        auto entry = entries.find(record.first);
        std::string name = entry != entries.end() ? entry->second.name : std::string();
        if (!IsPlainFileName(name) || used.count(name)) name = "blob-" + std::to_string(record.first) + ".bin";
        used.insert(name);
        files.push_back(ExtractedFile{name, record.second});
    }
    return true;
}

}  // namespace kestro
