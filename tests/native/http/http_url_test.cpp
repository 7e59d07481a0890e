#include "services/http/http_url.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

TEST(HttpUrl, ExplicitPortUserInfoAndExtraPart) {
    HttpUrlParts parts;
    ASSERT_TRUE(ParseAbsoluteUrl("http://user:pw@other.host:8081/dir/f?a=1#frag", parts));
    EXPECT_EQ(parts.host, "other.host");
    EXPECT_EQ(parts.port, 8081);
    EXPECT_EQ(parts.pathAndExtra, "/dir/f?a=1#frag");
}

TEST(HttpUrl, SchemePicksOnlyTheDefaultPort) {
    HttpUrlParts parts;
    ASSERT_TRUE(ParseAbsoluteUrl("https://secure/x", parts));
    EXPECT_EQ(parts.port, 443);
    ASSERT_TRUE(ParseAbsoluteUrl("HTTP://h", parts));
    EXPECT_EQ(parts.port, 80);
    EXPECT_EQ(parts.pathAndExtra, "/");
    ASSERT_TRUE(ParseAbsoluteUrl("ftp://h/f", parts));
    EXPECT_EQ(parts.port, 21);
    ASSERT_TRUE(ParseAbsoluteUrl("gopher://h/f", parts));
    EXPECT_EQ(parts.port, 70);
    ASSERT_TRUE(ParseAbsoluteUrl("socks://h/f", parts));
    EXPECT_EQ(parts.port, 1080);
    ASSERT_TRUE(ParseAbsoluteUrl("odd://h/f", parts));
    EXPECT_EQ(parts.port, 0);
    ASSERT_TRUE(ParseAbsoluteUrl("http://h?q", parts));
    EXPECT_EQ(parts.pathAndExtra, "/?q");
}

TEST(HttpUrl, PathAloneAndBadPortsAreNotAbsoluteUrls) {
    HttpUrlParts parts;
    EXPECT_FALSE(ParseAbsoluteUrl("/only/a/path", parts));
    EXPECT_TRUE(parts.host.empty());
    EXPECT_FALSE(ParseAbsoluteUrl("http:///nohost", parts));
    EXPECT_FALSE(ParseAbsoluteUrl("http://h:99999/", parts));
    EXPECT_FALSE(ParseAbsoluteUrl("http://h:12ab/", parts));
    EXPECT_FALSE(ParseAbsoluteUrl("/p?u=http://h/", parts));
}

TEST(HttpUrl, LineBreaksAndSpacesCannotReachTheRequest) {
    HttpUrlParts parts;
    EXPECT_FALSE(ParseAbsoluteUrl("http://h\r\nX-Injected: 1/p", parts));
    EXPECT_FALSE(ParseAbsoluteUrl("http://h/p HTTP/1.0\r\n\r\nGET /x", parts));
    EXPECT_FALSE(ParseAbsoluteUrl(std::string("http://h/p\0x", 12), parts));
    EXPECT_TRUE(parts.host.empty());
}

}  // namespace
}  // namespace kestro
