#include "services/http/http_url.h"

#include "services/http/http_wire.h"

namespace kestro {

uint16_t DefaultPortForScheme(const std::string& scheme) {
    std::string s = LowerAscii(scheme);
    if (s == "ftp") return 21;
    if (s == "gopher") return 70;
    if (s == "http") return 80;
    if (s == "https") return 443;
    if (s == "socks") return 1080;
    return 0;
}

bool ParseAbsoluteUrl(const std::string& url, HttpUrlParts& out) {
    out = HttpUrlParts();
    // A server's Location must not smuggle line breaks or spaces into the request line or the Host header.
    for (char c : url) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) return false;
    }
    size_t schemeEnd = url.find("://");
    if (schemeEnd == std::string::npos || schemeEnd == 0) return false;
    std::string scheme = url.substr(0, schemeEnd);
    if (scheme.find_first_of("/?#") != std::string::npos) return false;
    size_t authorityStart = schemeEnd + 3;
    size_t authorityEnd = url.find_first_of("/?#", authorityStart);
    if (authorityEnd == std::string::npos) authorityEnd = url.size();
    std::string authority = url.substr(authorityStart, authorityEnd - authorityStart);
    size_t at = authority.rfind('@');
    if (at != std::string::npos) authority.erase(0, at + 1);
    std::string host = authority;
    uint16_t port = DefaultPortForScheme(scheme);
    size_t colon = authority.find(':');
    if (colon != std::string::npos) {
        host = authority.substr(0, colon);
        std::string portText = authority.substr(colon + 1);
        if (!portText.empty()) {
            if (portText.size() > 5 || portText.find_first_not_of("0123456789") != std::string::npos) return false;
            long value = std::stol(portText);
            if (value < 1 || value > 65535) return false;
            port = static_cast<uint16_t>(value);
        }
    }
    if (host.empty()) return false;
    std::string rest = url.substr(authorityEnd);
    if (rest.empty() || rest[0] != '/') rest.insert(0, "/");
    out.host = host;
    out.port = port;
    out.pathAndExtra = rest;
    return true;
}

}  // namespace kestro
