#include <iconv.h>

#include <cerrno>
#include <string>

#include "name_codec.h"

namespace kestro {
namespace {

std::string IconvName(unsigned codePage) { return codePage == kUtf8CodePage ? "UTF-8" : "CP" + std::to_string(codePage); }

bool Convert(const char* to, const char* from, const std::string& in, std::string& out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1)) return false;
    std::string result(in.size() * 4 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = &result[0];
    size_t dstLeft = result.size();
    bool ok = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != size_t(-1) && srcLeft == 0;
    iconv_close(cd);
    if (!ok) return false;
    result.resize(result.size() - dstLeft);
    out.swap(result);
    return true;
}

class IconvNameCodec : public NameCodec {
public:
    bool FromUtf8(const std::string& utf8, unsigned codePage, std::string& out) const override {
        std::string target = IconvName(codePage);
        return Convert(target.c_str(), "UTF-8", utf8, out);
    }
    bool ToUtf8(const std::string& bytes, unsigned codePage, std::string& out) const override {
        std::string source = IconvName(codePage);
        return Convert("UTF-8", source.c_str(), bytes, out);
    }
    bool Supports(unsigned codePage) const override {
        iconv_t cd = iconv_open(IconvName(codePage).c_str(), "UTF-8");
        if (cd == iconv_t(-1)) return false;
        iconv_close(cd);
        return true;
    }
};

}  // namespace

std::unique_ptr<NameCodec> MakeSystemNameCodec() { return std::make_unique<IconvNameCodec>(); }

}  // namespace kestro
