#include "package_builder.h"

#include <cstdint>

#include "setup/package/package_layout.h"

namespace kestro {
namespace {

const unsigned char* Bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

std::string Le32(uint32_t value) {
    std::string bytes(4, '\0');
    WriteLe32(reinterpret_cast<unsigned char*>(&bytes[0]), value);
    return bytes;
}

}  // namespace

bool CheckProgramImage(const std::string& image, std::string& error) {
    if (image.size() < kDosHeaderSize || image[0] != 'M' || image[1] != 'Z') {
        error = "program image is not a Windows program (no MS-DOS header)";
        return false;
    }
    uint64_t lfanew = ReadLe32(Bytes(image) + kLfanewPosition);
    if (lfanew < kDosHeaderSize + kLengthFieldSize || lfanew + 4 > image.size() ||
        image.compare(size_t(lfanew), 4, std::string("PE\0\0", 4)) != 0) {
        error = "program image is not a Windows program (no PE signature after the MS-DOS header)";
        return false;
    }
    if (ReadLe32(Bytes(image) + lfanew - kLengthFieldSize) != 0) {
        error = "program image already has a payload offset (is it a package already?)";
        return false;
    }
    return true;
}

bool AssemblePackage(const std::string& image, const std::string& record, const std::string* archive,
                     std::string& package, std::string& error) {
    if (!CheckProgramImage(image, error)) return false;
    uint64_t total = uint64_t(image.size()) + kLengthFieldSize + record.size();
    if (archive) total += kLengthFieldSize + archive->size();
    if (total > 0xFFFFFFFFull) {
        error = "package would reach 4 GiB";
        return false;
    }
    std::string bytes;
    bytes.reserve(size_t(total));
    bytes += image;
    bytes += Le32(uint32_t(record.size()));
    bytes += record;
    if (archive) {
        bytes += Le32(uint32_t(archive->size()));
        bytes += *archive;
    }
    uint32_t lfanew = ReadLe32(Bytes(image) + kLfanewPosition);
    WriteLe32(reinterpret_cast<unsigned char*>(&bytes[lfanew - kLengthFieldSize]), uint32_t(image.size()));
    package.swap(bytes);
    return true;
}

}  // namespace kestro
