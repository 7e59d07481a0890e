#pragma once
// kestro-pack: builds installer packages from a program image, a configuration
// record and a product folder, and inspects packages. Portable: the only platform
// piece is the code-page codec.
//   kestro-pack build --program IMAGE --config RECORD.json --product DIR -o OUT.exe [--codepage N]
//   kestro-pack inspect [--json] [--codepage N] FILE
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "archive_listing.h"
#include "name_codec.h"
#include "services/json/jvalue.h"

namespace kestro {

struct BuildOptions {
    std::filesystem::path program;
    std::filesystem::path config;
    std::filesystem::path product;
    std::filesystem::path output;
    unsigned codePage = kDefaultNameCodePage;
};

struct Inspection {
    uint32_t offset = 0;
    uint32_t recordLength = 0;
    JValue record;
    bool uninstaller = false;
    uint64_t archiveLength = 0;
    std::vector<ListedEntry> entries;
    // Uninstallers: the record's Base64 paths, decoded.
    std::string root;
    std::vector<std::string> files;
    std::vector<std::string> folders;
};

// The package bytes for the options (nothing is written). False with a one-line reason.
bool BuildInstaller(const BuildOptions& options, const NameCodec& codec, std::string& package, std::string& error);

// Reads a package's layout, record and (installers) archive listing.
bool InspectPackage(const std::string& bytes, const NameCodec& codec, unsigned codePage, Inspection& result,
                    std::string& error);
std::string FormatInspection(const Inspection& inspection);
JValue InspectionJson(const Inspection& inspection);

// Writes through a temporary file beside `path` and renames it into place, so a
// failure never leaves a partial file under `path`.
bool WriteFileAtomically(const std::filesystem::path& path, const std::string& bytes, std::string& error);

// The command line (arguments after the program name, UTF-8). Returns the exit
// code: 0 done, 1 failed (one message on `err`), 2 usage error.
int RunKestroPack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kestro
