#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "services/http/http_agent.h"
#include "services/proxy/proxy_record.h"
#include "services/proxy/proxy_settings.h"
#include "tests/win/http/proxy_settings_scope.h"
#include "tests/win/http/scripted_server.h"

namespace kestro {
namespace {

const char kOk[] = "HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\nproxied";

int EnvInt(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::atoi(value) : 0;
}

std::string FileText(const char* envName) {
    const char* path = std::getenv(envName);
    if (!path) return std::string();
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

ScriptedServer::Handler Answer(const std::string& wire) {
    return [wire](const std::string&) { return ScriptedServer::Whole(wire); };
}

TEST(ProxyRecordFromSettings, FixedProxyListGivesItsHttpEntry) {
    std::string record;
    {
        ProxySettingsScope settings(ProxySettingsScope::kProxy, "ftp=f:21;http=Proxy.Example:3128");
        EXPECT_EQ(GetProxyRecord(record), 1);
        EXPECT_EQ(record, "{\"host\":\"proxy.example\",\"pac\":false,\"port\":3128,\"type\":0}\n");
    }
    {
        ProxySettingsScope settings(ProxySettingsScope::kProxy, "socks=s:1080");
        EXPECT_EQ(GetProxyRecord(record), 1);
        EXPECT_EQ(record, "");
    }
    {
        ProxySettingsScope settings(ProxySettingsScope::kDirect);
        EXPECT_EQ(GetProxyRecord(record), 1);
        EXPECT_EQ(record, "");
    }
}

TEST(ProxyRecordFromSettings, AutoConfigurationWinsOverAManualProxy) {
    std::string record;
    ProxySettingsScope settings(ProxySettingsScope::kProxy | ProxySettingsScope::kAutoDetect, "p:8080");
    EXPECT_EQ(GetProxyRecord(record), 1);
    EXPECT_EQ(record, kAutoConfigProxyRecord);
}

TEST(AgentThroughProxy, ConstructedAgentSendsAbsoluteTargetSortedHeadersAndProxyConnection) {
    ScriptedServer proxy(Answer(kOk));
    ProxySettingsScope settings(ProxySettingsScope::kProxy, "http=127.0.0.1:" + std::to_string(proxy.Port()));
    CHttpAgent agent;
    agent.SetTimeout(5);
    std::string out;
    EXPECT_EQ(agent.Get(L"example", 80, L"/a", out, nullptr), 1);
    EXPECT_EQ(out, "proxied");
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(proxy.Requests()[0],
              "GET http://example:80/a HTTP/1.1\r\nAccept: */*\r\nHost: example\r\nUser-Agent: CHttpAgent\r\n"
              "Proxy-Connection: Keep-Alive\r\n\r\n");
}

TEST(AgentThroughProxy, AuthorizationLineOnlyWithUserAndPassword) {
    ScriptedServer proxy(Answer(kOk));
    ProxySettingsScope settings(ProxySettingsScope::kDirect);
    CHttpAgent agent;
    agent.SetTimeout(5);
    std::string out;
    agent.SetProxy("127.0.0.1", proxy.Port(), "user", "pass", "domain", 0);
    EXPECT_EQ(agent.Post(L"example", 8080, L"/p", "b", out, nullptr), 1);
    agent.SetProxy("127.0.0.1", proxy.Port(), "user", "", "", 0);
    EXPECT_EQ(agent.Get(L"example", 80, L"/a", out, nullptr), 1);
    ASSERT_EQ(proxy.Requests().size(), 2u);
    EXPECT_EQ(proxy.Requests()[0],
              "POST http://example:8080/p HTTP/1.1\r\nAccept: */*\r\nContent-Length: 1\r\nHost: example\r\n"
              "User-Agent: CHttpAgent\r\nProxy-Connection: Keep-Alive\r\nProxy-Authorization: Basic dXNlcjpwYXNz\r\n"
              "\r\nb");
    EXPECT_EQ(proxy.Requests()[1].find("Proxy-Authorization"), std::string::npos);
    EXPECT_NE(proxy.Requests()[1].find("Proxy-Connection: Keep-Alive\r\n"), std::string::npos);
}

TEST(AgentThroughProxy, RawRequestIsRewrittenForTheProxy) {
    ScriptedServer proxy(Answer(kOk));
    ProxySettingsScope settings(ProxySettingsScope::kDirect);
    CHttpAgent agent;
    agent.SetTimeout(5);
    agent.SetProxy("127.0.0.1", proxy.Port(), "", "", "", 0);
    std::string raw = "GET /r HTTP/1.1\r\nHost: named\r\n\r\n";
    ASSERT_EQ(agent.SendRawRequest("target", 81, raw), 1);
    ASSERT_EQ(agent.ReceiveResponseHeaders(), 1);
    EXPECT_EQ(proxy.Requests()[0], "GET http://named:81/r HTTP/1.1\r\nProxy-Connection: Keep-Alive\r\nHost: named\r\n\r\n");
    std::string noBlock = "GET /r HTTP/1.1\r\n";
    EXPECT_EQ(agent.SendRawRequest("target", 81, noBlock), 0);
}

TEST(AgentThroughProxy, ProxyNamedByHostNameIsResolved) {
    ScriptedServer proxy(Answer(kOk));
    ProxySettingsScope settings(ProxySettingsScope::kDirect);
    CHttpAgent agent;
    agent.SetTimeout(5);
    std::string out;
    agent.SetProxy("localhost", proxy.Port(), "", "", "", 0);
    EXPECT_EQ(agent.Get(L"example", 80, L"/n", out, nullptr), 1);
    EXPECT_EQ(out, "proxied");
    // A name that cannot be resolved fails; it is never taken for an address.
    agent.SetProxy("10-proxy-2.invalid", proxy.Port(), "", "", "", 0);
    EXPECT_EQ(agent.Get(L"example", 80, L"/n", out, nullptr), 0);
    EXPECT_EQ(proxy.Requests().size(), 1u);
}

TEST(AgentThroughProxy, UnreachableProxyFailsPromptly) {
    ProxySettingsScope settings(ProxySettingsScope::kDirect);
    CHttpAgent agent;
    agent.SetTimeout(2);
    agent.SetProxy("127.0.0.1", 1, "", "", "", 0);
    std::string out;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(agent.Get(L"127.0.0.1", 80, L"/", out, nullptr), 0);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 4.0);
}

TEST(AgentThroughTinyproxy, PlainProxyForwardsToTheOrigin) {
    int port = EnvInt("KESTRO_TINYPROXY_PORT");
    ASSERT_NE(port, 0) << "started by with-tinyproxy.sh";
    ScriptedServer origin(Answer(kOk));
    ProxySettingsScope settings(ProxySettingsScope::kProxy, "127.0.0.1:" + std::to_string(port));
    CHttpAgent agent;
    agent.SetTimeout(10);
    std::string out;
    EXPECT_EQ(agent.Get(L"127.0.0.1", origin.Port(), L"/via/tiny?x=1", out, nullptr), 1);
    EXPECT_EQ(out, "proxied");
    ASSERT_EQ(origin.Requests().size(), 1u);
    EXPECT_EQ(origin.Requests()[0].substr(0, 19), "GET /via/tiny?x=1 H");
    std::string log = FileText("KESTRO_TINYPROXY_LOG");
    EXPECT_NE(log.find("GET http://127.0.0.1:" + std::to_string(origin.Port()) + "/via/tiny?x=1 HTTP/1.1"),
              std::string::npos)
        << log;
}

TEST(AgentThroughTinyproxy, BasicAuthenticationIsAcceptedOnlyWithTheRightCredentials) {
    int port = EnvInt("KESTRO_TINYPROXY_AUTH_PORT");
    ASSERT_NE(port, 0) << "started by with-tinyproxy.sh";
    ScriptedServer origin(Answer(kOk));
    ProxySettingsScope settings(ProxySettingsScope::kDirect);
    CHttpAgent agent;
    agent.SetTimeout(10);
    std::string out;
    agent.SetProxy("127.0.0.1", port, "kestro", "s3cret", "", 0);
    EXPECT_EQ(agent.Get(L"127.0.0.1", origin.Port(), L"/auth", out, nullptr), 1);
    EXPECT_EQ(out, "proxied");

    agent.SetProxy("127.0.0.1", port, "kestro", "wrong", "", 0);
    EXPECT_EQ(agent.Get(L"127.0.0.1", origin.Port(), L"/auth", out, nullptr), 0);
    // tinyproxy answers wrong credentials with 401 and missing ones with 407.
    EXPECT_EQ(agent.GetStatusCode(), 401);
    agent.SetProxy("127.0.0.1", port, "kestro", "", "", 0);
    EXPECT_EQ(agent.Get(L"127.0.0.1", origin.Port(), L"/auth", out, nullptr), 0);
    EXPECT_EQ(agent.GetStatusCode(), 407);
    EXPECT_EQ(origin.Requests().size(), 1u);
}

TEST(AgentWithAutoConfiguration, ScriptChoosesTheProxyPerUrl) {
    ScriptedServer proxy(Answer(kOk));
    ScriptedServer origin(Answer("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\ndirect"));
    std::string script = "function FindProxyForURL(url, host) {\n"
                         "  if (url == \"http://viaproxy/a?q=1\") return \"PROXY 127.0.0.1:" + std::to_string(proxy.Port()) +
                         "; PROXY 127.0.0.2:9\";\n"
                         "  return \"DIRECT\";\n}\n";
    ScriptedServer pac(Answer("HTTP/1.1 200 OK\r\nContent-Type: application/x-ns-proxy-autoconfig\r\n"
                              "Content-Length: " + std::to_string(script.size()) + "\r\nConnection: close\r\n\r\n" +
                              script));
    ProxySettingsScope settings(ProxySettingsScope::kScriptUrl, "",
                                "http://127.0.0.1:" + std::to_string(pac.Port()) + "/proxy.pac");
    std::string record;
    EXPECT_EQ(GetProxyRecord(record), 1);
    EXPECT_EQ(record, kAutoConfigProxyRecord);

    std::string host = "before";
    int port = 0;
    ResolveProxyForUrl(host, port, "http://viaproxy/a?q=1");
    EXPECT_EQ(host, "127.0.0.1");
    EXPECT_EQ(port, proxy.Port());

    CHttpAgent agent;
    agent.SetTimeout(5);
    std::string out;
    // The script is asked with "http://", the host and the path: only that URL goes through the proxy.
    EXPECT_EQ(agent.Get(L"viaproxy", 80, L"/a?q=1", out, nullptr), 1);
    EXPECT_EQ(out, "proxied");
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(proxy.Requests()[0].substr(0, 38), "GET http://viaproxy:80/a?q=1 HTTP/1.1\r");
    EXPECT_EQ(agent.Get(L"127.0.0.1", origin.Port(), L"/b", out, nullptr), 1);
    EXPECT_EQ(out, "direct");
    EXPECT_EQ(origin.Requests()[0].substr(0, 17), "GET /b HTTP/1.1\r\n");
}

}  // namespace
}  // namespace kestro

namespace kestro {
namespace {

TEST(AgentWithAutoConfiguration, AutoDetectionWithoutAnAnswerConnectsDirectly) {
    ScriptedServer origin(Answer("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\ndirect"));
    ProxySettingsScope settings(ProxySettingsScope::kAutoDetect);
    CHttpAgent agent;
    agent.SetTimeout(5);
    std::string out;
    EXPECT_EQ(agent.Get(L"127.0.0.1", origin.Port(), L"/d", out, nullptr), 1);
    EXPECT_EQ(out, "direct");
}

}  // namespace
}  // namespace kestro
