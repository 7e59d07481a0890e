// uirpack: builds, lists and unpacks ".uir" skin packages.
//   uirpack build <source folder> <package.uir>
//   uirpack inspect <package.uir>
//   uirpack extract <package.uir> <folder>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "tools/uirpack/uirpack_core.h"

namespace {

bool ReadFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out);
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char last = folder.back();
    return (last == '/' || last == '\\') ? folder + name : folder + "/" + name;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "uirpack: %s\n", message.c_str());
    return 1;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: uirpack build <source folder> <package.uir>\n"
                 "       uirpack inspect <package.uir>\n"
                 "       uirpack extract <package.uir> <folder>\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    const std::string command = argv[1];
    std::string error;
    if (command == "build" && argc == 4) {
        const std::string folder = argv[2];
        std::string description;
        if (!ReadFile(Join(folder, kestro::kSkinDescriptionFile), description))
            return Fail("cannot read " + Join(folder, kestro::kSkinDescriptionFile));
        std::string package;
        auto read = [&](const std::string& name, std::string& bytes) { return ReadFile(Join(folder, name), bytes); };
        if (!kestro::BuildUirPackage(description, read, package, error)) return Fail(error);
        if (!WriteFile(argv[3], package)) return Fail(std::string("cannot write ") + argv[3]);
        return 0;
    }
    if (command == "inspect" && argc == 3) {
        std::string package, listing;
        if (!ReadFile(argv[2], package)) return Fail(std::string("cannot read ") + argv[2]);
        if (!kestro::InspectUirPackage(package, listing, error)) return Fail(error);
        std::fwrite(listing.data(), 1, listing.size(), stdout);
        return 0;
    }
    if (command == "extract" && argc == 4) {
        std::string package;
        if (!ReadFile(argv[2], package)) return Fail(std::string("cannot read ") + argv[2]);
        std::vector<kestro::ExtractedFile> files;
        if (!kestro::ExtractUirPackage(package, files, error)) return Fail(error);
        for (const auto& file : files)
            if (!WriteFile(Join(argv[3], file.name), file.bytes)) return Fail("cannot write " + Join(argv[3], file.name));
        return 0;
    }
    return Usage();
}
