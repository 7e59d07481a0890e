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
    // MakeZipByHand only: the size fields claim this many bytes more than the data
    // holds (a deflate entry: its stream ends before the uncompressed size).
    uint32_t sizeBeyondData = 0;
};

// Through minizip's writer, as kestro-pack writes.
std::string MakeZip(const std::vector<ZipEntry>& entries);

// Written here byte by byte, headers and directory included, no writer library: the
// archive another ZIP writer would make, or a broken one no writer would. Honours
// name, data, utf8Flag, deflate, badCrc and sizeBeyondData.
std::string MakeZipByHand(const std::vector<ZipEntry>& entries);

// Flips the CRC of the entry named `name` in its local and its directory header alike,
// in an archive without a comment; false when there is no such entry.
bool CorruptEntryCrc(std::string& zip, const std::string& name);

// program image + u32 R + record + u32 Z + archive, with O written into the field at
// e_lfanew - 4 of the image.
std::string MakePackage(const std::string& programImage, const std::string& record, const std::string& archive);

// Bytes that do not compress.
std::string NoiseBytes(size_t count, uint32_t seed);

}  // namespace testing
}  // namespace kestro
