#include "pe_image.h"

#include "package_layout.h"

namespace kestro {
namespace {

constexpr uint64_t kCoffHeaderSize = 20;
constexpr uint64_t kSizeOfOptionalHeaderInCoff = 16;
constexpr uint16_t kPe32Magic = 0x10b;
constexpr uint16_t kPe32PlusMagic = 0x20b;
constexpr uint64_t kChecksumInOptional = 64;
constexpr uint32_t kSecurityDirectoryIndex = 4;
constexpr uint64_t kDirectoryEntrySize = 8;

uint16_t Le16(const std::string& bytes, uint64_t position) {
    return uint16_t(static_cast<unsigned char>(bytes[size_t(position)]) |
                    static_cast<unsigned char>(bytes[size_t(position) + 1]) << 8);
}

uint32_t Le32At(const std::string& bytes, uint64_t position) {
    return ReadLe32(reinterpret_cast<const unsigned char*>(bytes.data()) + position);
}

}  // namespace

bool LocatePeFileFields(const std::string& image, PeFileFields& fields) {
    const uint64_t size = image.size();
    if (size < kDosHeaderSize || image[0] != 'M' || image[1] != 'Z') return false;
    const uint64_t lfanew = Le32At(image, kLfanewPosition);
    const uint64_t coff = lfanew + 4;
    const uint64_t optional = coff + kCoffHeaderSize;
    if (optional + 2 > size || image.compare(size_t(lfanew), 4, std::string("PE\0\0", 4)) != 0) return false;
    const uint64_t optionalSize = Le16(image, coff + kSizeOfOptionalHeaderInCoff);
    if (optional + optionalSize > size || optionalSize < kChecksumInOptional + 4) return false;

    uint64_t countPosition = 0;
    const uint16_t magic = Le16(image, optional);
    if (magic == kPe32Magic) {
        countPosition = 92;
    } else if (magic == kPe32PlusMagic) {
        countPosition = 108;
    } else {
        return false;
    }
    PeFileFields found;
    found.checksum = optional + kChecksumInOptional;
    // Entry 4 counts only when the header declares it and its bytes lie inside the header;
    // past the declared entries come the section headers.
    const uint64_t entryPosition = countPosition + 4 + kSecurityDirectoryIndex * kDirectoryEntrySize;
    if (countPosition + 4 <= optionalSize && Le32At(image, optional + countPosition) > kSecurityDirectoryIndex &&
        entryPosition + kDirectoryEntrySize <= optionalSize) {
        found.hasSecurityEntry = true;
        found.securityEntry = optional + entryPosition;
    }
    fields = found;
    return true;
}

bool ClearSignatureAndChecksum(std::string& image) {
    PeFileFields fields;
    if (!LocatePeFileFields(image, fields)) return false;
    auto* bytes = reinterpret_cast<unsigned char*>(&image[0]);
    WriteLe32(bytes + fields.checksum, 0);
    if (fields.hasSecurityEntry) {
        WriteLe32(bytes + fields.securityEntry, 0);
        WriteLe32(bytes + fields.securityEntry + 4, 0);
    }
    return true;
}

}  // namespace kestro
