#include "statistics_reply.h"

#include <zlib.h>

#include <vector>

namespace kestro {

bool DecodeStatisticsReply(const std::string& body, JValue& out) {
    if (body.empty()) return true;
    if (body.size() < 4) return false;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(body.data());
    unsigned long length = static_cast<unsigned long>(bytes[0]) << 24 | static_cast<unsigned long>(bytes[1]) << 16 |
                           static_cast<unsigned long>(bytes[2]) << 8 | bytes[3];
    if (length == 0 || length > kMaxStatisticsReply) return false;
    std::vector<Bytef> text(length);
    uLongf produced = length;
    if (uncompress(text.data(), &produced, bytes + 4, static_cast<uLong>(body.size() - 4)) != Z_OK) return false;
    return JValue::Parse(reinterpret_cast<const char*>(text.data()), produced, out);
}

}  // namespace kestro
