#pragma once
// Builds ZIP archives entry by entry (names as raw bytes, so hostile names and
// broken entries can be made on purpose) and installer packages around them.
#include <cstdint>
#include <string>
#include <vector>

namespace kestro {
namespace testing {

struct ZipEntry {
    std::string name;  // raw bytes as stored
    std::string data;
    bool utf8Flag = false;  // general-purpose bit 11
    bool deflate = true;
    bool badCrc = false;          // stored CRC does not match the data
    bool badData = false;         // compressed bytes are not a valid deflate stream
    bool badLocalHeader = false;  // the entry's data cannot be opened
};

std::string MakeZip(const std::vector<ZipEntry>& entries);

// program image + u32 R + record + u32 Z + archive, with O written into the field at
// e_lfanew - 4 of the image.
std::string MakePackage(const std::string& programImage, const std::string& record, const std::string& archive);

// Bytes that do not compress.
std::string NoiseBytes(size_t count, uint32_t seed);

}  // namespace testing
}  // namespace kestro
