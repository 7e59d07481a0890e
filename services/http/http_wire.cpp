#include "services/http/http_wire.h"

#include <cctype>
#include <climits>

#include "services/encoding/base64.h"

namespace kestro {

size_t FindHeaderBlockEnd(const std::string& buffer, size_t from) {
    size_t at = buffer.find(kHttpHeaderEnd, from);
    return at == std::string::npos ? std::string::npos : at + 4;
}

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string TrimSpaces(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

void ParseResponseHead(const std::string& block, ParsedResponseHead& out) {
    out.statusLine.clear();
    out.headers.clear();
    size_t lineEnd = block.find("\r\n");
    out.statusLine = block.substr(0, lineEnd);
    if (lineEnd == std::string::npos) return;
    size_t pos = lineEnd + 2;
    while (pos < block.size()) {
        size_t end = block.find("\r\n", pos);
        if (end == std::string::npos) end = block.size();
        if (end == pos) break;  // the blank line ends the block
        std::string line = block.substr(pos, end - pos);
        pos = end + 2;
        size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string name = TrimSpaces(line.substr(0, colon));
        if (name.empty()) continue;
        out.headers[LowerAscii(name)] = TrimSpaces(line.substr(colon + 1));
    }
}

int StatusCodeFromLine(const std::string& statusLine) {
    size_t first = statusLine.find(' ');
    if (statusLine.empty() || first == std::string::npos) return 404;
    size_t second = statusLine.find(' ', first + 1);
    if (second == std::string::npos) return 404;
    int64_t code = ParseDecimal64(statusLine.substr(first + 1, second - first - 1));
    if (code < INT_MIN || code > INT_MAX) return 404;
    return static_cast<int>(code);
}

int64_t ParseDecimal64(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    uint64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        uint64_t digit = static_cast<uint64_t>(text[i] - '0');
        if (value > (static_cast<uint64_t>(INT64_MAX) - digit) / 10) return 0;
        value = value * 10 + digit;
    }
    return negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
}

std::string ComposeRequestLine(const std::string& method, const std::string& host, uint16_t port,
                               const std::string& path, const std::string& version, bool throughProxy) {
    if (throughProxy) {
        return method + " http://" + host + ":" + std::to_string(port) + path + " " + version;
    }
    return method + " " + path + " " + version;
}

std::string ProxyHeaderLines(const HttpProxyUse& proxy) {
    if (!proxy.inUse) return std::string();
    std::string lines = "Proxy-Connection: Keep-Alive\r\n";
    if (!proxy.user.empty() && !proxy.password.empty()) {
        ConversionArena arena;
        std::string credentials = proxy.user + ":" + proxy.password;
        lines += "Proxy-Authorization: Basic ";
        lines += Base64Encode(arena, credentials.c_str());
        lines += "\r\n";
    }
    return lines;
}

std::string ComposeRequestHead(const std::string& requestLine, const HttpHeaderMap& headers, const HttpProxyUse& proxy) {
    std::string head = requestLine + "\r\n";
    for (const auto& [name, value] : headers) head += name + ": " + value + "\r\n";
    head += ProxyHeaderLines(proxy);
    head += "\r\n";
    return head;
}

bool RewriteRawRequestForProxy(std::string& request, const std::string& host, uint16_t port, const HttpProxyUse& proxy) {
    size_t blockEnd = FindHeaderBlockEnd(request);
    size_t firstLineEnd = request.find("\r\n");
    if (blockEnd == std::string::npos || firstLineEnd == std::string::npos) return false;
    size_t slash = request.find('/');
    if (slash == std::string::npos || slash > firstLineEnd) return false;
    ParsedResponseHead head;
    ParseResponseHead(request.substr(0, blockEnd), head);
    auto found = head.headers.find("host");
    std::string target = found == head.headers.end() ? host : found->second;
    std::string rewritten = request.substr(0, slash) + "http://" + target + ":" + std::to_string(port);
    rewritten.append(request, slash, firstLineEnd + 2 - slash);
    rewritten += ProxyHeaderLines(proxy);
    rewritten.append(request, firstLineEnd + 2, std::string::npos);
    request.swap(rewritten);
    return true;
}

}  // namespace kestro
