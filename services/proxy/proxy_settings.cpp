#include "services/proxy/proxy_settings.h"

#include <windows.h>
#include <winhttp.h>

#include "services/encoding/conversion_arena.h"
#include "services/encoding/text_convert.h"
#include "services/proxy/proxy_record.h"

namespace kestro {

namespace {

// The strings of the user's configuration, freed with GlobalFree as WinHTTP requires.
struct IeProxyConfig {
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG value{};
    bool read = false;
    IeProxyConfig() { read = WinHttpGetIEProxyConfigForCurrentUser(&value) != FALSE; }
    ~IeProxyConfig() {
        if (value.lpszAutoConfigUrl) GlobalFree(value.lpszAutoConfigUrl);
        if (value.lpszProxy) GlobalFree(value.lpszProxy);
        if (value.lpszProxyBypass) GlobalFree(value.lpszProxyBypass);
    }
    IeProxyConfig(const IeProxyConfig&) = delete;
    IeProxyConfig& operator=(const IeProxyConfig&) = delete;
};

struct ProxyInfo {
    WINHTTP_PROXY_INFO value{};
    ~ProxyInfo() {
        if (value.lpszProxy) GlobalFree(value.lpszProxy);
        if (value.lpszProxyBypass) GlobalFree(value.lpszProxyBypass);
    }
};

struct WinHttpHandle {
    HINTERNET value;
    explicit WinHttpHandle(HINTERNET h) : value(h) {}
    ~WinHttpHandle() {
        if (value) WinHttpCloseHandle(value);
    }
    WinHttpHandle(const WinHttpHandle&) = delete;
    WinHttpHandle& operator=(const WinHttpHandle&) = delete;
};

}  // namespace

int GetProxyRecord(std::string& out) {
    out.clear();
    IeProxyConfig config;
    if (!config.read) return 0;
    if (config.value.fAutoDetect || (config.value.lpszAutoConfigUrl && *config.value.lpszAutoConfigUrl)) {
        out = kAutoConfigProxyRecord;
        return 1;
    }
    if (config.value.lpszProxy && *config.value.lpszProxy) {
        ConversionArena arena;
        ProxyRecordFromList(ToNarrow(config.value.lpszProxy, arena, CP_UTF8), out);
    }
    return 1;
}

void ResolveProxyForUrl(std::string& proxyHost, int& proxyPort, const std::string& url) {
    IeProxyConfig config;
    if (!config.read) return;
    WINHTTP_AUTOPROXY_OPTIONS options{};
    if (config.value.lpszAutoConfigUrl && *config.value.lpszAutoConfigUrl) {
        options.dwFlags = WINHTTP_AUTOPROXY_CONFIG_URL;
        options.lpszAutoConfigUrl = config.value.lpszAutoConfigUrl;
    } else if (config.value.fAutoDetect) {
        options.dwFlags = WINHTTP_AUTOPROXY_AUTO_DETECT;
        options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
    } else {
        return;
    }
    options.fAutoLogonIfChallenged = TRUE;
    WinHttpHandle session(WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                      WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC));
    if (!session.value) return;
    ConversionArena arena;
    ProxyInfo info;
    WinHttpGetProxyForUrl(session.value, ToWide(url.c_str(), arena, CP_ACP), &options, &info.value);
    if (!info.value.lpszProxy) return;
    std::string host;
    int port = 0;
    if (ParsePacAnswer(ToNarrow(info.value.lpszProxy, arena, CP_ACP), host, port)) {
        proxyHost = host;
        proxyPort = port;
    }
}

}  // namespace kestro
