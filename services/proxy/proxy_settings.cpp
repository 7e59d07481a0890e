#include "services/proxy/proxy_settings.h"

#include <windows.h>
#include <winhttp.h>

#include "services/encoding/conversion_arena.h"
#include "services/encoding/text_convert.h"
#include "services/proxy/proxy_record.h"
#include "services/win/unique_handle.h"

namespace kestro {

namespace {

// The user's configuration; WinHTTP hands its strings out to be freed with GlobalFree.
struct IeProxyConfig {
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG value{};
    bool read = false;
    UniqueGlobal autoConfigUrl, proxy, proxyBypass;
    IeProxyConfig() {
        read = WinHttpGetIEProxyConfigForCurrentUser(&value) != FALSE;
        autoConfigUrl.reset(value.lpszAutoConfigUrl);
        proxy.reset(value.lpszProxy);
        proxyBypass.reset(value.lpszProxyBypass);
    }
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
    UniqueWinHttp session(WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                      WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC));
    if (!session) return;
    ConversionArena arena;
    WINHTTP_PROXY_INFO info{};
    WinHttpGetProxyForUrl(session.get(), ToWide(url.c_str(), arena, CP_ACP), &options, &info);
    const UniqueGlobal proxy(info.lpszProxy), bypass(info.lpszProxyBypass);
    if (!info.lpszProxy) return;
    std::string host;
    int port = 0;
    if (ParsePacAnswer(ToNarrow(info.lpszProxy, arena, CP_ACP), host, port)) {
        proxyHost = host;
        proxyPort = port;
    }
}

}  // namespace kestro
