#include "services/http/http_wire.h"

#include <gtest/gtest.h>

#include "services/http/ipv4_text.h"

namespace kestro {
namespace {

TEST(HttpWire, StatusCodeNeedsTwoSpacesElse404) {
    EXPECT_EQ(StatusCodeFromLine("HTTP/1.1 200 OK"), 200);
    EXPECT_EQ(StatusCodeFromLine("HTTP/1.1 302 Found here"), 302);
    EXPECT_EQ(StatusCodeFromLine("HTTP/1.1 200"), 404);
    EXPECT_EQ(StatusCodeFromLine(""), 404);
    EXPECT_EQ(StatusCodeFromLine("garbage"), 404);
    EXPECT_EQ(StatusCodeFromLine("HTTP/1.1 99999999999999999999999 x"), 0);
}

TEST(HttpWire, HeaderNamesAreLowerCasedAndTrimmedLaterDuplicatesWin) {
    ParsedResponseHead head;
    ParseResponseHead(
        "HTTP/1.1 200 OK\r\n  Content-LENGTH :  12  \r\nno colon line\r\n: empty name\r\nX-A: 1\r\nx-a: 2\r\n"
        "Location: http://h:1/p?q=a:b\r\n\r\n",
        head);
    EXPECT_EQ(head.statusLine, "HTTP/1.1 200 OK");
    EXPECT_EQ(head.headers.size(), 3u);
    EXPECT_EQ(head.headers["content-length"], "12");
    EXPECT_EQ(head.headers["x-a"], "2");
    EXPECT_EQ(head.headers["location"], "http://h:1/p?q=a:b");
}

TEST(HttpWire, HeaderBlockEndIsFoundAcrossTheRescanPoint) {
    std::string buffer = "HTTP/1.1 200 OK\r\n\r";
    EXPECT_EQ(FindHeaderBlockEnd(buffer), std::string::npos);
    size_t from = buffer.size() - 3;
    buffer += "\nbody";
    EXPECT_EQ(FindHeaderBlockEnd(buffer, from), buffer.size() - 4);
}

TEST(HttpWire, DecimalParsingStopsAtTheFirstNonDigitAndRejectsOverflow) {
    EXPECT_EQ(ParseDecimal64("  1234abc"), 1234);
    EXPECT_EQ(ParseDecimal64("-5"), -5);
    EXPECT_EQ(ParseDecimal64("x"), 0);
    EXPECT_EQ(ParseDecimal64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(ParseDecimal64("9223372036854775808"), 0);
}

TEST(HttpWire, DirectRequestHasSortedHeadersAndNoProxyLines) {
    HttpHeaderMap headers{{"User-Agent", "CHttpAgent"}, {"Host", "example"}, {"Accept", "*/*"}, {"host", "x"}};
    std::string line = ComposeRequestLine("GET", "example", 80, "/a", "HTTP/1.1", false);
    EXPECT_EQ(ComposeRequestHead(line, headers, HttpProxyUse()),
              "GET /a HTTP/1.1\r\nAccept: */*\r\nHost: example\r\nUser-Agent: CHttpAgent\r\nhost: x\r\n\r\n");
}

TEST(HttpWire, ProxyRequestUsesAbsoluteTargetAndAuthorizationOnlyWithBothCredentials) {
    std::string line = ComposeRequestLine("GET", "example", 80, "/a", "HTTP/1.1", true);
    EXPECT_EQ(line, "GET http://example:80/a HTTP/1.1");
    HttpProxyUse proxy;
    proxy.inUse = true;
    proxy.user = "user";
    proxy.password = "pass";
    EXPECT_EQ(ComposeRequestHead(line, {{"Host", "example"}}, proxy),
              "GET http://example:80/a HTTP/1.1\r\nHost: example\r\nProxy-Connection: Keep-Alive\r\n"
              "Proxy-Authorization: Basic dXNlcjpwYXNz\r\n\r\n");
    proxy.password.clear();
    EXPECT_EQ(ProxyHeaderLines(proxy), "Proxy-Connection: Keep-Alive\r\n");
    proxy.password = "pass";
    proxy.user.clear();
    EXPECT_EQ(ProxyHeaderLines(proxy), "Proxy-Connection: Keep-Alive\r\n");
}

TEST(HttpWire, RawRequestIsRewrittenForTheProxyFromItsHostHeader) {
    HttpProxyUse proxy;
    proxy.inUse = true;
    std::string request = "GET /x HTTP/1.1\r\nHost: named\r\n\r\nbody";
    ASSERT_TRUE(RewriteRawRequestForProxy(request, "arg", 8080, proxy));
    EXPECT_EQ(request, "GET http://named:8080/x HTTP/1.1\r\nProxy-Connection: Keep-Alive\r\nHost: named\r\n\r\nbody");

    std::string noHost = "GET /x HTTP/1.1\r\nAccept: */*\r\n\r\n";
    ASSERT_TRUE(RewriteRawRequestForProxy(noHost, "arg", 81, proxy));
    EXPECT_EQ(noHost, "GET http://arg:81/x HTTP/1.1\r\nProxy-Connection: Keep-Alive\r\nAccept: */*\r\n\r\n");

    std::string incomplete = "GET /x HTTP/1.1\r\nHost: named\r\n";
    EXPECT_FALSE(RewriteRawRequestForProxy(incomplete, "arg", 80, proxy));
    EXPECT_EQ(incomplete, "GET /x HTTP/1.1\r\nHost: named\r\n");
}

TEST(Ipv4Text, OnlyStrictDottedQuadsAreAddressesNamesAreResolved) {
    uint32_t ip = 0;
    ASSERT_TRUE(ParseDottedIPv4("127.0.0.1", ip));
    const unsigned char* b = reinterpret_cast<const unsigned char*>(&ip);
    EXPECT_EQ(b[0], 127);
    EXPECT_EQ(b[3], 1);
    ASSERT_TRUE(ParseDottedIPv4("255.255.255.255", ip));
    EXPECT_FALSE(ParseDottedIPv4("10-proxy-2", ip));
    EXPECT_FALSE(ParseDottedIPv4("10.0.0", ip));
    EXPECT_FALSE(ParseDottedIPv4("10.0.0.256", ip));
    EXPECT_FALSE(ParseDottedIPv4("10.0.0.1.", ip));
    EXPECT_FALSE(ParseDottedIPv4("1.2.3.4x", ip));
    EXPECT_FALSE(ParseDottedIPv4("", ip));
    EXPECT_FALSE(ParseDottedIPv4("0001.2.3.4", ip));
}

}  // namespace
}  // namespace kestro
