#include "package_records.h"

#include "services/encoding/base64.h"

namespace kestro {

std::string UninstallRecord::Root() const {
    ConversionArena arena;
    return Base64Decode(record[kSetup][kRoot].AsText().c_str(), arena);
}

std::vector<std::string> UninstallRecord::DecodePaths(const JValue& array) {
    std::vector<std::string> paths;
    ConversionArena arena;
    for (size_t i = 0; i < array.Size(); ++i) paths.emplace_back(Base64Decode(array.At(i).AsText().c_str(), arena));
    return paths;
}

std::string UninstallRecord::EncodePath(const std::string& utf8Path) {
    ConversionArena arena;
    return Base64Encode(arena, utf8Path.c_str());
}

}  // namespace kestro
