#include "statistics_reply.h"

#include <zlib.h>

#include <memory>
#include <new>

namespace kestro {

bool DecodeStatisticsReply(const std::string& body, JValue& out) {
    if (body.empty()) return true;
    if (body.size() < 4) return false;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(body.data());
    unsigned long length = static_cast<unsigned long>(bytes[0]) << 24 | static_cast<unsigned long>(bytes[1]) << 16 |
                           static_cast<unsigned long>(bytes[2]) << 8 | bytes[3];
    if (length == 0 || length > kMaxStatisticsReply) return false;
    // Uninitialised: inflation writes what is used, and the length may be large.
    std::unique_ptr<Bytef[]> text(new (std::nothrow) Bytef[length]);
    if (!text) return false;
    uLongf produced = length;
    if (uncompress(text.get(), &produced, bytes + 4, static_cast<uLong>(body.size() - 4)) != Z_OK) return false;
    return JValue::Parse(reinterpret_cast<const char*>(text.get()), produced, out);
}

}  // namespace kestro
