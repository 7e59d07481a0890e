#pragma once
// The product folder as a ZIP archive: folder entries included, names with "/",
// siblings in byte order of their UTF-8 names (a folder's entry before its content),
// names stored in the installer's code page without the UTF-8 flag, and fixed
// timestamps and attributes, so the same folder always gives the same bytes.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "name_codec.h"

namespace kestro {

// Longest stored name the installer reads back whole (its name buffer holds 1,024 bytes).
constexpr size_t kMaxEntryNameBytes = 1023;

struct ArchiveEntry {
    std::string name;        // UTF-8, "/" separators, folders end with "/"
    std::string storedName;  // `name` in the target code page
    bool folder = false;
    std::filesystem::path source;
};

// False with a one-line reason for a missing folder, unreadable or special files,
// symbolic links, names Windows cannot hold, and names the code page cannot write.
bool CollectProductEntries(const std::filesystem::path& root, const NameCodec& codec, unsigned codePage,
                           std::vector<ArchiveEntry>& entries, std::string& error);

// Compresses the entries into `zip`.
bool WriteProductArchive(const std::vector<ArchiveEntry>& entries, std::string& zip, std::string& error);

// Whether a single name (no separators) can be a Windows file name.
bool IsPortableFileName(const std::string& utf8Name);

}  // namespace kestro
