#pragma once
// The ".uir" skin container: a magic, a JSON description and blobs by id.
// Portable: parsed and written here, used by UIResource and the uirpack tool.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kestro {

inline constexpr char kSkinMagic[4] = {'.', 'u', 'i', 'r'};

enum class SkinPackageError {
    None,
    BadMagic,     // fewer than four bytes, or not ".uir"
    Truncated,    // a length or count runs past the end of the bytes
};

struct SkinPackage {
    std::string description;                // the UTF-8 JSON text, as stored (NUL included when stored)
    std::vector<std::pair<uint32_t, std::string>> records;  // blobs in file order
};

// Reads the whole container. Every length is checked against the buffer in 64-bit
// arithmetic before it is used; on any error `out` is left untouched.
SkinPackageError ParseSkinPackage(const void* data, size_t size, SkinPackage& out);

// The blob table of a package: a later record with the same id replaces an earlier one.
std::map<uint32_t, std::string> SkinBlobTable(const SkinPackage& package);

std::string WriteSkinPackage(const SkinPackage& package);

const char* SkinPackageErrorText(SkinPackageError error);

}  // namespace kestro
