#include "skin_package.h"

#include <cstring>

namespace kestro {
namespace {

uint32_t ReadU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void AppendU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
}

}  // namespace

SkinPackageError ParseSkinPackage(const void* data, size_t size, SkinPackage& out) {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    if (!bytes || size < 4 || memcmp(bytes, kSkinMagic, 4) != 0) return SkinPackageError::BadMagic;
    const uint64_t end = size;
    uint64_t pos = 4;
    if (pos + 4 > end) return SkinPackageError::Truncated;
    const uint64_t descLength = ReadU32(bytes + pos);
    pos += 4;
    if (pos + descLength > end) return SkinPackageError::Truncated;
    SkinPackage package;
    package.description.assign(reinterpret_cast<const char*>(bytes + pos), size_t(descLength));
    pos += descLength;
    if (pos + 4 > end) return SkinPackageError::Truncated;
    const uint64_t count = ReadU32(bytes + pos);
    pos += 4;
    // Each record needs at least its 8-byte header: refuse impossible counts before reserving.
    if (count * 8 > end - pos) return SkinPackageError::Truncated;
    package.records.reserve(size_t(count));
    for (uint64_t i = 0; i < count; ++i) {
        if (pos + 8 > end) return SkinPackageError::Truncated;
        const uint32_t id = ReadU32(bytes + pos);
        const uint64_t length = ReadU32(bytes + pos + 4);
        pos += 8;
        if (pos + length > end) return SkinPackageError::Truncated;
        package.records.emplace_back(id, std::string(reinterpret_cast<const char*>(bytes + pos), size_t(length)));
        pos += length;
    }
    out = std::move(package);
    return SkinPackageError::None;
}

std::map<uint32_t, std::string> SkinBlobTable(const SkinPackage& package) {
    std::map<uint32_t, std::string> table;
    for (const auto& record : package.records) table[record.first] = record.second;
    return table;
}

std::string WriteSkinPackage(const SkinPackage& package) {
    std::string out(kSkinMagic, 4);
    AppendU32(out, uint32_t(package.description.size()));
    out += package.description;
    AppendU32(out, uint32_t(package.records.size()));
    for (const auto& record : package.records) {
        AppendU32(out, record.first);
        AppendU32(out, uint32_t(record.second.size()));
        out += record.second;
    }
    return out;
}

const char* SkinPackageErrorText(SkinPackageError error) {
    switch (error) {
        case SkinPackageError::None: return "ok";
        case SkinPackageError::BadMagic: return "not a skin package (the magic \".uir\" is missing)";
        case SkinPackageError::Truncated: return "damaged skin package (a length runs past the end of the file)";
    }
    return "unknown error";
}

}  // namespace kestro
