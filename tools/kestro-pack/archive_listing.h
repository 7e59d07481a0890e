#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "name_codec.h"

namespace kestro {

struct ListedEntry {
    std::string name;  // decoded to UTF-8 from the archive's code page
    bool folder = false;
    uint64_t size = 0;
    uint64_t compressedSize = 0;
    uint32_t crc = 0;
};

// Lists the archive in its stored order and reads every entry's data through, so
// a damaged archive (bad structure, bad data, wrong CRC) is reported, not listed.
bool ListArchive(std::string zip, const NameCodec& codec, unsigned codePage, std::vector<ListedEntry>& entries,
                 std::string& error);

}  // namespace kestro
