#pragma once
// Reading the skin description: path look-up in the style tree, the blob directory,
// and the value shapes the getters accept. Portable.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "services/json/jvalue.h"

namespace kestro {

// category name -> id -> blob bytes
using SkinDirectory = std::map<std::string, std::map<int, std::string>>;

// Descends from `base` by the "/"-separated components of `path`; empty components
// are skipped, so "/a//b" equals "a/b". None when a member is missing.
std::optional<JValue> FindSkinNode(const JValue& base, const char* path);

// The directory of the description's "res" member: entries whose id has no blob are skipped.
SkinDirectory BuildSkinDirectory(const JValue& description, const std::map<uint32_t, std::string>& blobs);

// Value shapes: anything else reads as zeros.
int SkinInt(const JValue& node);                        // only an integer node
std::array<int, 4> SkinRect(const JValue& node);        // an array of exactly 4
std::array<int, 2> SkinPoint(const JValue& node);       // an array of exactly 2
uint32_t SkinColor(const JValue& node);                 // [r, g, b] -> 0x00BBGGRR

// A Base64 text of UTF-8 bytes (the "tx" and "FaceName" form) as UTF-16
// (services/base/utf8.h: malformed sequences become U+FFFD).
std::u16string DecodeSkinText(const std::string& base64);

}  // namespace kestro
