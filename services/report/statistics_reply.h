#pragma once
// The statistics server's reply: a 32-bit big-endian length of the data, then a
// zlib stream whose content is JSON text.
#include <string>

#include "services/json/jvalue.h"

namespace kestro {

// Largest uncompressed reply accepted (64 MiB).
constexpr unsigned long kMaxStatisticsReply = 0x4000000;

// An empty body is success (nothing to decode). Otherwise fails for fewer than 4
// bytes, a length of 0 or above the limit, a stream that does not inflate cleanly
// within that length, or data that is not JSON; `out` receives the parsed value.
bool DecodeStatisticsReply(const std::string& body, JValue& out);

}  // namespace kestro
