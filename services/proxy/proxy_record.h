#pragma once
// The proxy record handed to the HTTP agent and the texts it is made from: the user's
// proxy list and the auto-configuration service's answer. Pure text work.
#include <string>

namespace kestro {

// The record for automatic configuration: resolve the proxy per request URL.
extern const char kAutoConfigProxyRecord[];

// "host:port" (UTF-8) into the fixed-proxy record {"host":..,"pac":false,"port":..,"type":0}.
// False when the entry has no colon or an empty host or port part.
bool MakeProxyRecord(const std::string& entry, std::string& out);

// The first usable HTTP entry of a ";"-separated proxy list (lower-cased first): entries
// with "=" count only as "http=..."; entries without "=" count whole. False (out empty)
// when no entry gives a record.
bool ProxyRecordFromList(const std::string& proxyList, std::string& out);

// What the HTTP agent takes from a record: one whose "type" is 0 or 1 names a proxy,
// its absent members reading as empty or zero; any other record, or none, means
// direct connections (false).
struct ProxyRecordFields {
    std::string host;
    int port = 0;
    std::string user;
    std::string password;
    std::string domain;
    bool pac = false;
};
bool ReadProxyRecord(const std::string& record, ProxyRecordFields& out);

// The proxy named by an auto-configuration answer: the whole text when it has no "=",
// the text after "http=" when it begins so, else none. Host is the part before the
// first colon, port the leading number after it; false when either part is empty.
bool ParsePacAnswer(const std::string& answer, std::string& host, int& port);

}  // namespace kestro
