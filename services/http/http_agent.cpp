#include "services/http/http_agent.h"

#include <ws2tcpip.h>

#include <cstdarg>
#include <climits>
#include <cstdio>
#include <vector>

#include "services/encoding/conversion_arena.h"
#include "services/encoding/text_convert.h"
#include "services/http/chunked_decoder.h"
#include "services/http/http_url.h"
#include "services/http/ipv4_text.h"
#include "services/proxy/proxy_record.h"
#include "services/proxy/proxy_settings.h"

namespace kestro {

namespace {

const char kUserAgent[] = "CHttpAgent";
const char kHttpVersion[] = "HTTP/1.1";
// The header block is collected in pieces of this size, whatever the receive size.
const int kHeaderPieceSize = 4096;

std::string Narrow(const wchar_t* text) {
    ConversionArena arena;
    return ToNarrow(text, arena, CP_ACP);
}

// Waits up to `seconds` for the socket to become readable or writable.
bool WaitReady(SOCKET s, bool forWrite, int seconds) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(s, &ready);
    fd_set failed;
    FD_ZERO(&failed);
    FD_SET(s, &failed);
    timeval limit{seconds < 0 ? 0 : seconds, 0};
    int n = select(0, forWrite ? nullptr : &ready, forWrite ? &ready : nullptr, &failed, &limit);
    return n > 0 && FD_ISSET(s, &ready);
}

// Speed and percent of the progress calls, shared by the in-memory and file reads.
class ProgressMeter {
public:
    ProgressMeter(HttpProgressCallback callback, uintptr_t user, int64_t total)
        : callback_(callback), user_(user), total_(total), last_(GetTickCount64()) {}

    int Start() { return callback_ ? callback_(0, 0, nullptr, 0, 0, total_, user_) : 1; }

    int Piece(const std::string& piece) {
        received_ += static_cast<int64_t>(piece.size());
        if (!callback_) return 1;
        ULONGLONG now = GetTickCount64();
        if (now > last_) {
            long long perSecond = static_cast<long long>(piece.size()) * 1000 / static_cast<long long>(now - last_);
            speed_ = perSecond > INT_MAX ? INT_MAX : static_cast<int>(perSecond);
            last_ = now;
        }
        int percent = static_cast<int>(received_ * 100 / total_);
        return callback_(percent, speed_, piece.data(), static_cast<int>(piece.size()), received_, total_, user_);
    }

    void ReportShort() {
        if (callback_) callback_(-1, 0, nullptr, 0, received_, total_, user_);
    }

    int64_t Received() const { return received_; }

private:
    HttpProgressCallback callback_;
    uintptr_t user_;
    int64_t total_;
    int64_t received_ = 0;
    int speed_ = 0;
    ULONGLONG last_;
};

}  // namespace

CHttpAgent::CHttpAgent() {
    WSADATA data;
    winsockStarted_ = WSAStartup(MAKEWORD(2, 0), &data) == 0;
    std::string record;
    GetProxyRecord(record);
    ProxyRecordFields proxy;
    if (!ReadProxyRecord(record, proxy)) return;
    SetProxy(proxy.host.c_str(), proxy.port, proxy.user.c_str(), proxy.password.c_str(), proxy.domain.c_str(),
             proxy.pac ? 1 : 0);
}

CHttpAgent::~CHttpAgent() {
    Close();
    if (winsockStarted_) WSACleanup();
}

void CHttpAgent::Close() { socket_.reset(); }

void CHttpAgent::ResetRequestState() {
    Close();
    requestLine_.clear();
    statusLine_.clear();
    pendingBody_.clear();
    responseHeaderBlock_.clear();
    requestHeaders_.clear();
    responseHeaders_.clear();
}

bool CHttpAgent::ProxyInUse() const { return proxyEnabled_ && !proxyHost_.empty(); }

HttpProxyUse CHttpAgent::ProxyUse() const {
    HttpProxyUse use;
    use.inUse = ProxyInUse();
    use.user = proxyUser_;
    use.password = proxyPassword_;
    return use;
}

int CHttpAgent::SetTimeout(int seconds) {
    timeout_ = seconds;
    return 1;
}

int CHttpAgent::SetReceiveBufferSize(int bytes) {
    if (bytes > kHttpMaxReceiveSize) return 0;
    // A non-positive size could never receive anything.
    if (bytes < 1) return 0;
    receiveSize_ = bytes;
    return 1;
}

int CHttpAgent::SetProxy(const char* host, int port, const char* user, const char* password, const char* domain,
                         int usePac) {
    usePac_ = usePac ? 1 : 0;
    proxyEnabled_ = 1;
    proxyPort_ = port;
    proxyHost_ = host ? host : "";
    proxyUser_ = user ? user : "";
    proxyPassword_ = password ? password : "";
    proxyDomain_ = domain ? domain : "";
    return 1;
}

int CHttpAgent::Open(const wchar_t* host, uint16_t port, const wchar_t* method, const wchar_t* path,
                     const wchar_t* version) {
    if (!host || !method || !path || !version) {
        ResetRequestState();
        return 0;
    }
    return Open(Narrow(host).c_str(), port, Narrow(method).c_str(), Narrow(path).c_str(), Narrow(version).c_str());
}

int CHttpAgent::Open(const char* host, uint16_t port, const char* method, const char* path, const char* version) {
    ResetRequestState();
    if (!host || !*host || !method || !*method || !path || !*path || !version || !*version) return 0;
    targetPort_ = port;
    targetHost_ = host;
    if (usePac_) {
        proxyHost_.clear();
        ResolveProxyForUrl(proxyHost_, proxyPort_, std::string("http://") + host + path);
    }
    requestLine_ = ComposeRequestLine(method, targetHost_, port, path, version, ProxyInUse());
    socket_.reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    return socket_ ? 1 : 0;
}

int CHttpAgent::AddHeader(const wchar_t* name, const wchar_t* value) {
    return AddHeader(Narrow(name).c_str(), Narrow(value).c_str());
}

int CHttpAgent::AddHeader(const char* name, const char* value) {
    requestHeaders_[name ? name : ""] = value ? value : "";
    return 1;
}

int CHttpAgent::AddHeaderFormat(const wchar_t* name, const wchar_t* format, ...) {
    if (!name || !*name || !format || !*format) return 0;
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list args;
        va_start(args, format);
        int n = _vsnwprintf(buffer.data(), buffer.size() - 1, format, args);
        va_end(args);
        if (n >= 0 && static_cast<size_t>(n) < buffer.size() - 1) break;
        if (buffer.size() >= kHttpMaxHeaderBlock) return 0;
        buffer.assign(buffer.size() * 4, 0);
    }
    return AddHeader(name, buffer.data());
}

int CHttpAgent::AddHeaderFormat(const char* name, const char* format, ...) {
    if (!name || !*name || !format || !*format) return 0;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n < 0) {
        va_end(args);
        return 0;
    }
    std::vector<char> buffer(static_cast<size_t>(n) + 1);
    vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    return AddHeader(name, buffer.data());
}

int CHttpAgent::Connect() {
    if (!socket_) return 0;
    const std::string& address = ProxyInUse() ? proxyHost_ : targetHost_;
    if (address.empty()) return 0;
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<u_short>(ProxyInUse() ? proxyPort_ : targetPort_));
    uint32_t ip = 0;
    if (ParseDottedIPv4(address, ip)) {
        target.sin_addr.s_addr = ip;
    } else {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        if (getaddrinfo(address.c_str(), nullptr, &hints, &found) != 0 || !found) {
            Close();
            return 0;
        }
        target.sin_addr = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
        freeaddrinfo(found);
    }
    // Non-blocking before the connect, so an unanswered connect ends with the timeout too.
    u_long nonBlocking = 1;
    if (ioctlsocket(socket_.get(), FIONBIO, &nonBlocking) != 0) {
        Close();
        return 0;
    }
    if (connect(socket_.get(), reinterpret_cast<sockaddr*>(&target), sizeof(target)) != 0) {
        if (WSAGetLastError() != WSAEWOULDBLOCK || !WaitReady(socket_.get(), true, timeout_)) {
            Close();
            return 0;
        }
        int error = 0;
        int length = sizeof(error);
        if (getsockopt(socket_.get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0 ||
            error != 0) {
            Close();
            return 0;
        }
    }
    return 1;
}

// The socket is non-blocking: an attempt that would block waits for readiness and is
// made once more. Trying first saves a wait per piece when data is already there.
int CHttpAgent::SendOnce(const char* data, int length) {
    if (!socket_) return -1;
    int n = send(socket_.get(), data, length, 0);
    if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK && WaitReady(socket_.get(), true, timeout_)) {
        n = send(socket_.get(), data, length, 0);
    }
    return n == SOCKET_ERROR ? -1 : n;
}

int CHttpAgent::ReceiveOnce(char* buffer, int size) {
    if (!socket_) return -1;
    int n = recv(socket_.get(), buffer, size, 0);
    if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK && WaitReady(socket_.get(), false, timeout_)) {
        n = recv(socket_.get(), buffer, size, 0);
    }
    return n == SOCKET_ERROR ? -1 : n;
}

bool CHttpAgent::SendAll(const char* data, size_t length) {
    // Large bodies need several sends on a non-blocking socket; each one waits at most the timeout.
    while (length > 0) {
        int chunk = length > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(length);
        int n = SendOnce(data, chunk);
        if (n <= 0) return false;
        data += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

int CHttpAgent::SendRequestHeaders() {
    if (!Connect()) return 0;
    std::string head = ComposeRequestHead(requestLine_, requestHeaders_, ProxyUse());
    return SendAll(head.data(), head.size()) ? 1 : 0;
}

int CHttpAgent::SendData(const char* data, int length) {
    if (length < 0 || (!data && length > 0)) return 0;
    return SendAll(data, static_cast<size_t>(length)) ? 1 : 0;
}

int CHttpAgent::SendRequest() { return SendRequestHeaders() && ReceiveResponseHeaders() ? 1 : 0; }

int CHttpAgent::SendRawRequest(const wchar_t* host, uint16_t port, std::string& request) {
    return SendRawRequest(Narrow(host).c_str(), port, request);
}

int CHttpAgent::SendRawRequest(const char* host, uint16_t port, std::string& request) {
    ResetRequestState();
    targetPort_ = port;
    targetHost_ = host ? host : "";
    socket_.reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!Connect()) return 0;
    if (ProxyInUse() && !RewriteRawRequestForProxy(request, targetHost_, port, ProxyUse())) return 0;
    return SendAll(request.data(), request.size()) ? 1 : 0;
}

bool CHttpAgent::ReceiveHeaderBlock(std::string& work) {
    size_t end = FindHeaderBlockEnd(work);
    std::vector<char> piece(kHeaderPieceSize);
    while (end == std::string::npos) {
        if (work.size() > kHttpMaxHeaderBlock) return false;
        int n = ReceiveOnce(piece.data(), kHeaderPieceSize);
        if (n <= 0) return false;
        size_t scanFrom = work.size() < 3 ? 0 : work.size() - 3;
        work.append(piece.data(), static_cast<size_t>(n));
        end = FindHeaderBlockEnd(work, scanFrom);
    }
    if (end > kHttpMaxHeaderBlock) return false;
    responseHeaderBlock_ = work.substr(0, end);
    pendingBody_ = work.substr(end);
    return true;
}

void CHttpAgent::ApplyHeaderBlock(const std::string& block) {
    ParsedResponseHead head;
    ParseResponseHead(block, head);
    statusLine_ = head.statusLine;
    responseHeaders_.swap(head.headers);
}

int CHttpAgent::ReceiveResponseHeaders() {
    if (responseHeaderBlock_.empty()) {
        std::string work;
        ReceiveHeaderBlock(work);
    }
    if (responseHeaderBlock_.empty()) return 0;
    ApplyHeaderBlock(responseHeaderBlock_);
    return 1;
}

int CHttpAgent::ReceiveNextResponseHeaders() {
    responseHeaders_.clear();
    responseHeaderBlock_.clear();
    statusLine_.clear();
    std::string work;
    work.swap(pendingBody_);
    if (!ReceiveHeaderBlock(work)) {
        pendingBody_.swap(work);
        return 0;
    }
    ApplyHeaderBlock(responseHeaderBlock_);
    return 1;
}

int CHttpAgent::GetStatusCode() { return StatusCodeFromLine(statusLine_); }

int64_t CHttpAgent::GetContentLength() { return ParseDecimal64(GetHeader("Content-Length")); }

std::string CHttpAgent::GetHeader(const char* name) {
    if (!name || !*name) return std::string();
    auto found = responseHeaders_.find(LowerAscii(name));
    return found == responseHeaders_.end() ? std::string() : found->second;
}

std::wstring& CHttpAgent::GetHeader(std::wstring& out, const wchar_t* name) {
    ConversionArena arena;
    std::string value = name ? GetHeader(Narrow(name).c_str()) : std::string();
    out = ToWide(value.c_str(), arena, CP_ACP);
    return out;
}

int CHttpAgent::GetResponseHeaders(HttpHeaderMap& out) {
    out = responseHeaders_;
    return 1;
}

int CHttpAgent::GetRawResponseHeaders(std::string& out) {
    out = responseHeaderBlock_;
    return out.empty() ? 0 : 1;
}

int CHttpAgent::ReadSome(std::string& out) {
    out.clear();
    if (!pendingBody_.empty()) {
        out.swap(pendingBody_);
        return 1;
    }
    if (receiveBuffer_.size() != static_cast<size_t>(receiveSize_)) receiveBuffer_.resize(static_cast<size_t>(receiveSize_));
    int n = ReceiveOnce(receiveBuffer_.data(), receiveSize_);
    if (n > 0) out.append(receiveBuffer_.data(), static_cast<size_t>(n));
    return out.empty() ? 0 : 1;
}

int CHttpAgent::Read(char* buffer, int size) {
    if (!buffer || size <= 0) return -1;
    if (pendingBody_.empty()) return ReceiveOnce(buffer, size);
    size_t count = pendingBody_.size() < static_cast<size_t>(size) ? pendingBody_.size() : static_cast<size_t>(size);
    pendingBody_.copy(buffer, count);
    pendingBody_.erase(0, count);
    return static_cast<int>(count);
}

int CHttpAgent::ReadChunked(std::string& out) {
    ChunkedDecoder decoder;
    std::string piece;
    while (decoder.GetState() == ChunkedDecoder::State::NeedMore) {
        if (!ReadSome(piece)) return 0;
        decoder.Feed(piece.data(), piece.size(), out);
    }
    return decoder.GetState() == ChunkedDecoder::State::Done && !out.empty() ? 1 : 0;
}

int CHttpAgent::ReadBody(std::string& out) {
    out.clear();
    int64_t length = GetContentLength();
    if (length > 0) {
        if (length > kHttpMaxBodyBytes) return 0;
        std::string piece;
        while (static_cast<int64_t>(out.size()) < length) {
            if (!ReadSome(piece)) return 0;
            // A server sending more than announced cannot grow the buffer without limit.
            if (static_cast<int64_t>(out.size() + piece.size()) > kHttpMaxBodyBytes) return 0;
            out += piece;
        }
        return out.empty() ? 0 : 1;
    }
    if (LowerAscii(GetHeader("Transfer-Encoding")) == "chunked") return ReadChunked(out);
    return 0;
}

int CHttpAgent::ReadBodyExact(std::string& out) {
    if (!ReadBody(out)) return 0;
    int64_t length = GetContentLength();
    if (length > 0 && static_cast<int64_t>(out.size()) > length) {
        pendingBody_.insert(0, out, static_cast<size_t>(length), std::string::npos);
        out.resize(static_cast<size_t>(length));
    }
    return static_cast<int>(out.size());
}

int CHttpAgent::ReadBodyWithProgress(HttpProgressCallback callback, uintptr_t user) {
    int64_t total = GetContentLength();
    if (!callback || total <= 0) return 0;
    ProgressMeter meter(callback, user, total);
    if (!meter.Start()) return 0;
    std::string piece;
    while (meter.Received() < total) {
        if (!ReadSome(piece)) break;
        if (!meter.Piece(piece)) return 0;
    }
    if (meter.Received() < total) {
        meter.ReportShort();
        return 0;
    }
    return 1;
}

int CHttpAgent::DownloadToFile(const wchar_t* path, HttpProgressCallback callback, uintptr_t user) {
    int64_t total = GetContentLength();
    if (total <= 0 || !path) return 0;
    ProgressMeter meter(callback, user, total);
    if (!meter.Start()) return 0;
    UniqueStdioFile file(_wfopen(path, L"wb"));
    if (!file) return 0;
    std::string piece;
    bool written = true;
    while (meter.Received() < total) {
        if (!ReadSome(piece)) break;
        if (fwrite(piece.data(), 1, piece.size(), file.get()) != piece.size()) {
            written = false;
            break;
        }
        if (!meter.Piece(piece)) return 0;
    }
    // A full disk is a failed download, not a short success.
    if (!CloseChecked(file)) written = false;
    if (meter.Received() < total || !written) {
        meter.ReportShort();
        return 0;
    }
    return 1;
}

int CHttpAgent::Get(const wchar_t* host, uint16_t port, const wchar_t* path, std::string& out,
                    const HttpExtraHeaders* extra) {
    Request request{Verb::Get, nullptr, &out, nullptr, nullptr, 0, extra};
    return Perform(Narrow(host), port, Narrow(path), request, kHttpMaxRedirects);
}

int CHttpAgent::Post(const wchar_t* host, uint16_t port, const wchar_t* path, const std::string& body,
                     std::string& out, const HttpExtraHeaders* extra) {
    Request request{Verb::Post, &body, &out, nullptr, nullptr, 0, extra};
    return Perform(Narrow(host), port, Narrow(path), request, kHttpMaxRedirects);
}

int CHttpAgent::GetFile(const wchar_t* host, uint16_t port, const wchar_t* path, const wchar_t* file,
                        HttpProgressCallback callback, uintptr_t user, const HttpExtraHeaders* extra) {
    Request request{Verb::GetFile, nullptr, nullptr, file, callback, user, extra};
    return Perform(Narrow(host), port, Narrow(path), request, kHttpMaxRedirects);
}

int CHttpAgent::Perform(const std::string& host, uint16_t port, const std::string& path, const Request& request,
                        int redirectsLeft) {
    if (request.out) request.out->clear();
    const bool post = request.verb == Verb::Post;
    if (!Open(host.c_str(), port, post ? "POST" : "GET", path.c_str(), kHttpVersion)) {
        Close();
        return 0;
    }
    AddHeader("Accept", "*/*");
    AddHeader("User-Agent", kUserAgent);
    AddHeader("Host", host.c_str());
    if (post) AddHeaderFormat("Content-Length", "%ld", static_cast<long>(request.body->size()));
    if (request.extra) {
        for (const auto& [name, value] : *request.extra) AddHeader(name.c_str(), value.c_str());
    }
    bool exchanged = post ? SendRequestHeaders() && SendData(request.body->data(), static_cast<int>(request.body->size())) &&
                                ReceiveResponseHeaders()
                          : SendRequest() != 0;
    int result = 0;
    if (exchanged) {
        int status = GetStatusCode();
        if (status == 200) {
            // The caller judges a body in memory itself; a short file it could not tell from a whole one.
            if (request.verb == Verb::GetFile) {
                result = DownloadToFile(request.file, request.callback, request.user);
            } else {
                result = 1;
                ReadBody(*request.out);
            }
        } else if (status >= 300 && status <= 399) {
            std::string location = GetHeader("Location");
            HttpUrlParts next;
            Close();
            if (!location.empty() && redirectsLeft > 0) {
                ParseAbsoluteUrl(location, next);
                result = Perform(next.host, next.port, next.pathAndExtra, request, redirectsLeft - 1);
            }
        }
    }
    Close();
    return result;
}

}  // namespace kestro
