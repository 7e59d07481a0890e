#pragma once
// The user's Internet proxy settings, read through WinHTTP.
#include <string>

namespace kestro {

// The proxy record of the current user's settings: the automatic-configuration record
// when auto-detection or a script URL is on, else the first HTTP entry of the proxy
// list, else empty (direct). Nonzero when the settings could be read.
int GetProxyRecord(std::string& out);

// The proxy for one request URL ("http://host/path", ANSI) from the user's
// auto-configuration: sets the agent's proxy host (ANSI) and port when the system's
// answer names an HTTP proxy, leaves them alone otherwise.
void ResolveProxyForUrl(std::string& proxyHost, int& proxyPort, const std::string& url);

}  // namespace kestro
