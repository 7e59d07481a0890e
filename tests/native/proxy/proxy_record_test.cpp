#include "services/proxy/proxy_record.h"

#include <gtest/gtest.h>

#include "services/json/jvalue.h"

namespace kestro {
namespace {

void ExpectFixedProxy(const std::string& record, const std::string& host, int port) {
    JValue value;
    ASSERT_TRUE(JValue::Parse(record, value)) << record;
    EXPECT_EQ(value["type"].AsInt(), 0);
    EXPECT_EQ(value["host"].AsText(), host);
    EXPECT_EQ(value["port"].AsInt(), port);
    EXPECT_EQ(value["pac"].GetKind(), JValue::Kind::Bool);
    EXPECT_FALSE(value["pac"].AsBool());
}

TEST(ProxyRecord, FixedProxyIsWrittenCompactly) {
    std::string out;
    ASSERT_TRUE(MakeProxyRecord("p:8080", out));
    EXPECT_EQ(out, "{\"host\":\"p\",\"pac\":false,\"port\":8080,\"type\":0}\n");
    ASSERT_TRUE(MakeProxyRecord("p:x", out));
    ExpectFixedProxy(out, "p", 0);
}

TEST(ProxyRecord, EntriesWithoutHostOrPortAreSkipped) {
    std::string out;
    EXPECT_FALSE(MakeProxyRecord("p", out));
    EXPECT_FALSE(MakeProxyRecord(":8080", out));
    EXPECT_FALSE(MakeProxyRecord("p:", out));
    ASSERT_TRUE(ProxyRecordFromList("p;:8080;q:81", out));
    ExpectFixedProxy(out, "q", 81);
}

TEST(ProxyRecord, OnlyTheHttpEntryOfAPerSchemeListCounts) {
    std::string out;
    ASSERT_TRUE(ProxyRecordFromList("ftp=f:21;http=p:3128", out));
    ExpectFixedProxy(out, "p", 3128);
    ASSERT_TRUE(ProxyRecordFromList("https=s:443;HTTP=P:3128", out));
    ExpectFixedProxy(out, "p", 3128);
    EXPECT_FALSE(ProxyRecordFromList("socks=s:1080", out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(ProxyRecordFromList("", out));
}

TEST(ProxyRecord, AutoConfigurationConstantReadsAsPac) {
    JValue value;
    ASSERT_TRUE(JValue::Parse(std::string(kAutoConfigProxyRecord), value));
    EXPECT_TRUE(value["pac"].AsBool());
    EXPECT_EQ(value["host"].AsText(), "");
    EXPECT_EQ(value["port"].AsInt(), 0);
}

TEST(ProxyRecord, TheAgentTakesRecordsOfType0And1Only) {
    ProxyRecordFields fields;
    ASSERT_TRUE(ReadProxyRecord("{\"type\":1,\"host\":\"h\",\"port\":3128,\"user\":\"u\",\"password\":\"p\","
                                "\"domain\":\"d\",\"pac\":true}",
                                fields));
    EXPECT_EQ(fields.host, "h");
    EXPECT_EQ(fields.port, 3128);
    EXPECT_EQ(fields.user, "u");
    EXPECT_EQ(fields.password, "p");
    EXPECT_EQ(fields.domain, "d");
    EXPECT_TRUE(fields.pac);
    ProxyRecordFields fixed;
    ASSERT_TRUE(ReadProxyRecord("{\"type\":0,\"host\":\"q\",\"port\":81}", fixed));
    EXPECT_EQ(fixed.host, "q");
    EXPECT_EQ(fixed.port, 81);
    EXPECT_EQ(fixed.user, "");
    EXPECT_FALSE(fixed.pac);
    EXPECT_FALSE(ReadProxyRecord("{\"type\":2,\"host\":\"h\",\"port\":1}", fields));
    EXPECT_FALSE(ReadProxyRecord("{\"host\":\"h\",\"port\":1}", fields));
    EXPECT_FALSE(ReadProxyRecord("", fields));
}

TEST(PacAnswer, FirstProxyOfTheListWins) {
    std::string host;
    int port = 0;
    ASSERT_TRUE(ParsePacAnswer("proxy1:8080; proxy2:80", host, port));
    EXPECT_EQ(host, "proxy1");
    EXPECT_EQ(port, 8080);
    ASSERT_TRUE(ParsePacAnswer("HTTP=Web:3128", host, port));
    EXPECT_EQ(host, "web");
    EXPECT_EQ(port, 3128);
}

TEST(PacAnswer, DirectAndOtherSchemesLeaveTheProxyAlone) {
    std::string host = "unchanged";
    int port = 7;
    EXPECT_FALSE(ParsePacAnswer("direct", host, port));
    EXPECT_FALSE(ParsePacAnswer("socks=s:1080", host, port));
    EXPECT_FALSE(ParsePacAnswer("", host, port));
    EXPECT_EQ(host, "unchanged");
    EXPECT_EQ(port, 7);
}

}  // namespace
}  // namespace kestro
