#pragma once
// The HTTP/1.1 wire format of the agent: what it writes and how it reads a response
// header block. Pure text work, shared by the Windows agent and its tests.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace kestro {

using HttpHeaderMap = std::map<std::string, std::string>;

// A hostile server must not exhaust memory: a header block larger than this fails,
// and so does a body read into memory beyond kHttpMaxBodyBytes.
constexpr size_t kHttpMaxHeaderBlock = 64 * 1024;
constexpr int64_t kHttpMaxBodyBytes = 64LL * 1024 * 1024;
constexpr int kHttpMaxRedirects = 5;
constexpr int kHttpDefaultReceiveSize = 4096;
constexpr int kHttpMaxReceiveSize = 2097152;
constexpr const char kHttpHeaderEnd[] = "\r\n\r\n";

// Position just past the first "\r\n\r\n" at or after `from`, or npos. Callers pass the
// previous buffer length minus 3 so a growing buffer is not rescanned from the start.
size_t FindHeaderBlockEnd(const std::string& buffer, size_t from = 0);

struct ParsedResponseHead {
    std::string statusLine;
    HttpHeaderMap headers;  // names lower-cased and trimmed of spaces, values trimmed
};

// Splits a header block (status line through the blank line): lines without ":" or
// with an empty name are skipped; a later duplicate replaces an earlier one.
void ParseResponseHead(const std::string& block, ParsedResponseHead& out);

// The code between the first and second space of the status line; 404 when the line
// is empty or lacks either space.
int StatusCodeFromLine(const std::string& statusLine);

// Leading decimal number (optional sign, spaces skipped) as signed 64 bits; 0 when none
// and 0 on overflow.
int64_t ParseDecimal64(const std::string& text);

std::string LowerAscii(std::string text);
std::string TrimSpaces(const std::string& text);

// Proxy settings as the agent holds them.
struct HttpProxyUse {
    bool inUse = false;  // proxy enabled and a proxy host known
    std::string user;
    std::string password;
};

// "METHOD path VERSION", or through a proxy "METHOD http://host:port/path VERSION".
std::string ComposeRequestLine(const std::string& method, const std::string& host, uint16_t port,
                               const std::string& path, const std::string& version, bool throughProxy);

// The proxy's own header lines: Proxy-Connection, and Basic authorization only when
// both user and password are set.
std::string ProxyHeaderLines(const HttpProxyUse& proxy);

// Request line, headers in map order, the proxy's lines, then the blank line.
std::string ComposeRequestHead(const std::string& requestLine, const HttpHeaderMap& headers, const HttpProxyUse& proxy);

// Rewrites a complete raw request for a proxy in place: absolute target built from
// its Host header (or `host`), proxy lines after the request line. False (text
// untouched) when the text has no complete header block.
bool RewriteRawRequestForProxy(std::string& request, const std::string& host, uint16_t port, const HttpProxyUse& proxy);

}  // namespace kestro
