#pragma once
#include <cstdint>
#include <string>

namespace kestro {

// Strict dotted-quad IPv4 text ("10.0.0.1"): four decimal parts of 0 to 255. The address
// comes out in network byte order. Anything else (host names such as 10-proxy-2
// included) is false, so the caller resolves it by name.
bool ParseDottedIPv4(const std::string& text, uint32_t& networkOrder);

}  // namespace kestro
