#pragma once
// The installer's own HTTP/1.1 client over one Winsock TCP connection: a low-level
// interface (compose, send, receive the header block, read the body in pieces) and
// the one-call Get, GetFile and Post that follow redirects. Plain HTTP only; the
// user's proxy is honoured (fixed, or per URL through automatic configuration).
#include <winsock2.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "services/http/http_wire.h"
#include "services/http/lite.h"
#include "services/win/unique_handle.h"

namespace kestro {

// Called as a body arrives; returning 0 aborts. percent is -1 in the final call of an
// incomplete transfer; data/length describe the piece just received (may be null).
typedef int (*HttpProgressCallback)(int percent, int speed, const char* data, int length, int64_t received,
                                    int64_t total, uintptr_t user);

// Extra request headers of Get, GetFile and Post, added after the standard ones.
using HttpExtraHeaders = std::map<std::wstring, std::wstring>;

// Results are nonzero on success unless stated otherwise.
class IHttpAgent : public ILite {
public:
    virtual int SendRawRequest(const wchar_t* host, uint16_t port, std::string& request) = 0;
    virtual int SendRawRequest(const char* host, uint16_t port, std::string& request) = 0;
    virtual int Open(const wchar_t* host, uint16_t port, const wchar_t* method, const wchar_t* path,
                     const wchar_t* version) = 0;
    virtual int Open(const char* host, uint16_t port, const char* method, const char* path, const char* version) = 0;
    virtual int AddHeader(const wchar_t* name, const wchar_t* value) = 0;
    virtual int AddHeader(const char* name, const char* value) = 0;
    virtual int AddHeaderFormat(const wchar_t* name, const wchar_t* format, ...) = 0;
    virtual int AddHeaderFormat(const char* name, const char* format, ...) = 0;
    virtual int SendRequestHeaders() = 0;
    virtual int SendData(const char* data, int length) = 0;
    virtual int ReceiveResponseHeaders() = 0;
    virtual int ReceiveNextResponseHeaders() = 0;
    virtual int DownloadToFile(const wchar_t* path, HttpProgressCallback callback, uintptr_t user) = 0;
    virtual int ReadBodyWithProgress(HttpProgressCallback callback, uintptr_t user) = 0;
    virtual int ReadBody(std::string& out) = 0;
    // The length read, 0 on failure.
    virtual int ReadBodyExact(std::string& out) = 0;
    // Bytes copied or received, 0 at the end of the stream, -1 on error or time-out.
    virtual int Read(char* buffer, int size) = 0;
    virtual int ReadSome(std::string& out) = 0;
    // 404 also stands for a missing or unusable status line.
    virtual int GetStatusCode() = 0;
    virtual int64_t GetContentLength() = 0;
    virtual std::wstring& GetHeader(std::wstring& out, const wchar_t* name) = 0;
    virtual std::string GetHeader(const char* name) = 0;
    virtual int GetResponseHeaders(HttpHeaderMap& out) = 0;
    virtual int GetRawResponseHeaders(std::string& out) = 0;
    virtual void Close() = 0;
    virtual int SetTimeout(int seconds) = 0;
    // 0 above 2,097,152 bytes.
    virtual int SetReceiveBufferSize(int bytes) = 0;
    virtual int SetProxy(const char* host, int port, const char* user, const char* password, const char* domain,
                         int usePac) = 0;
    virtual int SendRequest() = 0;
    virtual int GetFile(const wchar_t* host, uint16_t port, const wchar_t* path, const wchar_t* file,
                        HttpProgressCallback callback, uintptr_t user, const HttpExtraHeaders* extra) = 0;
    virtual int Get(const wchar_t* host, uint16_t port, const wchar_t* path, std::string& out,
                    const HttpExtraHeaders* extra) = 0;
    virtual int Post(const wchar_t* host, uint16_t port, const wchar_t* path, const std::string& body,
                     std::string& out, const HttpExtraHeaders* extra) = 0;
};

class CHttpAgent : public IHttpAgent {
public:
    // Starts Winsock and takes the proxy from the user's Internet settings.
    CHttpAgent();
    ~CHttpAgent() override;
    CHttpAgent(const CHttpAgent&) = delete;
    CHttpAgent& operator=(const CHttpAgent&) = delete;

    int SendRawRequest(const wchar_t* host, uint16_t port, std::string& request) override;
    int SendRawRequest(const char* host, uint16_t port, std::string& request) override;
    int Open(const wchar_t* host, uint16_t port, const wchar_t* method, const wchar_t* path,
             const wchar_t* version) override;
    int Open(const char* host, uint16_t port, const char* method, const char* path, const char* version) override;
    int AddHeader(const wchar_t* name, const wchar_t* value) override;
    int AddHeader(const char* name, const char* value) override;
    int AddHeaderFormat(const wchar_t* name, const wchar_t* format, ...) override;
    int AddHeaderFormat(const char* name, const char* format, ...) override;
    int SendRequestHeaders() override;
    int SendData(const char* data, int length) override;
    int ReceiveResponseHeaders() override;
    int ReceiveNextResponseHeaders() override;
    int DownloadToFile(const wchar_t* path, HttpProgressCallback callback, uintptr_t user) override;
    int ReadBodyWithProgress(HttpProgressCallback callback, uintptr_t user) override;
    int ReadBody(std::string& out) override;
    int ReadBodyExact(std::string& out) override;
    int Read(char* buffer, int size) override;
    int ReadSome(std::string& out) override;
    int GetStatusCode() override;
    int64_t GetContentLength() override;
    std::wstring& GetHeader(std::wstring& out, const wchar_t* name) override;
    std::string GetHeader(const char* name) override;
    int GetResponseHeaders(HttpHeaderMap& out) override;
    int GetRawResponseHeaders(std::string& out) override;
    void Close() override;
    int SetTimeout(int seconds) override;
    int SetReceiveBufferSize(int bytes) override;
    int SetProxy(const char* host, int port, const char* user, const char* password, const char* domain,
                 int usePac) override;
    int SendRequest() override;
    int GetFile(const wchar_t* host, uint16_t port, const wchar_t* path, const wchar_t* file,
                HttpProgressCallback callback, uintptr_t user, const HttpExtraHeaders* extra) override;
    int Get(const wchar_t* host, uint16_t port, const wchar_t* path, std::string& out,
            const HttpExtraHeaders* extra) override;
    int Post(const wchar_t* host, uint16_t port, const wchar_t* path, const std::string& body, std::string& out,
             const HttpExtraHeaders* extra) override;

private:
    enum class Verb { Get, GetFile, Post };
    struct Request {
        Verb verb;
        const std::string* body;
        std::string* out;
        const wchar_t* file;
        HttpProgressCallback callback;
        uintptr_t user;
        const HttpExtraHeaders* extra;
    };
    int Perform(const std::string& host, uint16_t port, const std::string& path, const Request& request,
                int redirectsLeft);
    void ResetRequestState();
    bool ProxyInUse() const;
    HttpProxyUse ProxyUse() const;
    int Connect();
    // One wait bounded by the timeout, then one send or receive; -1 on time-out or error.
    int SendOnce(const char* data, int length);
    int ReceiveOnce(char* buffer, int size);
    bool SendAll(const char* data, size_t length);
    bool ReceiveHeaderBlock(std::string& work);
    void ApplyHeaderBlock(const std::string& block);
    int ReadChunked(std::string& out);
    int ReportStart(HttpProgressCallback callback, uintptr_t user, int64_t total);

    uint16_t targetPort_ = 0;
    UniqueSocket socket_;
    int timeout_ = 30;
    int receiveSize_ = kHttpDefaultReceiveSize;
    int proxyEnabled_ = 0;
    int usePac_ = 0;
    int proxyPort_ = 0;
    std::string proxyHost_;
    std::string proxyUser_;
    std::string proxyPassword_;
    std::string proxyDomain_;
    std::string targetHost_;
    std::string pendingBody_;
    std::string responseHeaderBlock_;
    std::string requestLine_;
    HttpHeaderMap requestHeaders_;
    std::string statusLine_;
    HttpHeaderMap responseHeaders_;
    bool winsockStarted_ = false;
    // Reused by every receive of ReadSome, so a 2 MiB receive size costs one allocation.
    std::vector<char> receiveBuffer_;
};

}  // namespace kestro
