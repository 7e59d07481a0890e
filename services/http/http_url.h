#pragma once
// Absolute URLs of redirect targets: scheme "://" [user "@"] host [":" port] path [extra].
#include <cstdint>
#include <string>

namespace kestro {

struct HttpUrlParts {
    std::string host;
    uint16_t port = 0;
    std::string pathAndExtra;  // path followed by its "?..." or "#..." part
};

// Default port of a scheme: ftp 21, gopher 70, http 80, https 443, socks 1080, else 0.
uint16_t DefaultPortForScheme(const std::string& scheme);

// False (host left empty) for text that is not an absolute URL, such as a path alone,
// with a port that is not a number of 1 to 65535, or with control characters or spaces.
bool ParseAbsoluteUrl(const std::string& url, HttpUrlParts& out);

}  // namespace kestro
