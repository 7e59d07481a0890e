// Decodes arbitrary bytes as a statistics server reply (length, zlib stream, JSON).
#include "services/report/statistics_reply.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kestro::JValue out;
    (void)kestro::DecodeStatisticsReply(std::string(reinterpret_cast<const char*>(data), size), out);
    return 0;
}
