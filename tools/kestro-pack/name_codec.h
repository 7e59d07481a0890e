#pragma once
// Entry names in the archive are stored in the code page the installer decodes them
// with (the target system's ANSI code page), without the ZIP UTF-8 flag. The
// conversion tables belong to the platform: iconv on Linux, the system on Windows.
#include <memory>
#include <string>

namespace kestro {

constexpr unsigned kDefaultNameCodePage = 936;
constexpr unsigned kUtf8CodePage = 65001;

class NameCodec {
public:
    virtual ~NameCodec() = default;
    // False when the code page is unknown or some character has no form in it.
    virtual bool FromUtf8(const std::string& utf8, unsigned codePage, std::string& out) const = 0;
    virtual bool ToUtf8(const std::string& bytes, unsigned codePage, std::string& out) const = 0;
    // Whether the code page can be used at all.
    virtual bool Supports(unsigned codePage) const = 0;
};

// The platform's codec.
std::unique_ptr<NameCodec> MakeSystemNameCodec();

}  // namespace kestro
