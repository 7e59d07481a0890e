#pragma once
// uirpack's work without any file system or Windows API: building a ".uir" package
// from a description and its blobs, listing one, and naming its blobs for extraction.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kestro {

// Reads the blob a description entry names ("name" relative to the source folder).
using BlobReader = std::function<bool(const std::string& name, std::string& bytes)>;

// description: the JSON text with "cfg" and "res". Every "res" entry's file is read
// and stored under its id. The stored description is the compact JSON followed by
// a NUL. False with `error` set on any problem.
bool BuildUirPackage(const std::string& description, const BlobReader& read, std::string& package,
                     std::string& error);

// A listing: the description, then one line per blob (id, category, size, PNG size).
bool InspectUirPackage(const std::string& package, std::string& listing, std::string& error);

struct ExtractedFile {
    std::string name;
    std::string bytes;
};

// The files that rebuild the package: "skin.json" and each blob under its entry's
// name (a name that is not a plain file name becomes "blob-<id>.bin").
bool ExtractUirPackage(const std::string& package, std::vector<ExtractedFile>& files, std::string& error);

// Width and height of a PNG file's header.
bool ReadPngSize(const std::string& bytes, uint32_t& width, uint32_t& height);

// The description file inside a skin source folder.
inline constexpr const char* kSkinDescriptionFile = "skin.json";

}  // namespace kestro
