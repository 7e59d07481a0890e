#include "tools/stats-server/stats_protocol.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "services/encoding/base64.h"

namespace kestro::stats {
namespace {

const char kMachid[] = "0123456789ABCDEF0123456789ABCDEF";

std::string SetTarget(const std::string& tail) {
    return std::string("/clt_v2_set?machid=") + kMachid + "&plat=30&op=1&v=0&l=1&c=30001&md5=" + tail;
}

std::string FeedbackTarget(const std::string& json) {
    ConversionArena arena;
    return std::string("/clt_v2_fb?machid=") + kMachid + "&plat=30&fb=" + Base64Encode(arena, json.c_str());
}

TEST(StatsRequestHead, ReadsTheClientsRequestWithHeaderNamesLowerCased) {
    RequestHead h;
    ASSERT_TRUE(ParseRequestHead("GET /clt_v2_set?a=1 HTTP/1.1\r\nAccept: */*\r\nHost:  stats \r\nUser-Agent: CHttpAgent\r\n\r\n", h));
    EXPECT_EQ(h.method, "GET");
    EXPECT_EQ(h.target, "/clt_v2_set?a=1");
    EXPECT_EQ(h.version, "HTTP/1.1");
    EXPECT_EQ(h.headers["host"], "stats");
    EXPECT_EQ(h.headers["user-agent"], "CHttpAgent");
    EXPECT_EQ(h.headers["accept"], "*/*");
}

TEST(StatsRequestHead, RefusesBrokenRequestLinesAndHeaderLines) {
    RequestHead h;
    EXPECT_FALSE(ParseRequestHead("GET /x\r\n\r\n", h));
    EXPECT_FALSE(ParseRequestHead("GET /x HTTP/2.0\r\n\r\n", h));
    EXPECT_FALSE(ParseRequestHead("GET /a b HTTP/1.1\r\n\r\n", h));
    EXPECT_FALSE(ParseRequestHead("GET /x HTTP/1.1\r\nno colon here\r\n\r\n", h));
    EXPECT_FALSE(ParseRequestHead("GET /x\x01 HTTP/1.1\r\n\r\n", h));
    EXPECT_FALSE(ParseRequestHead("", h));
}

TEST(StatsTargets, AFreshInstallReportIsAcceptedWithEveryFieldLogged) {
    TargetVerdict v = JudgeTarget(SetTarget(""));
    ASSERT_EQ(v.status, 200) << v.record.WriteCompact();
    EXPECT_EQ(v.record["kind"].AsText(), "set");
    EXPECT_EQ(v.record["target"].AsText(), SetTarget(""));
    EXPECT_EQ(v.record["machid"].AsText(), kMachid);
    EXPECT_EQ(v.record["op"].AsInt(), 1);
    EXPECT_EQ(v.record["v"].AsInt(), 0);
    EXPECT_EQ(v.record["l"].AsInt(), 1);
    EXPECT_EQ(v.record["c"].AsInt(), 30001);
    EXPECT_EQ(v.record["md5"].AsText(), "");
    EXPECT_FALSE(v.record.HasMember("e"));
}

TEST(StatsTargets, AFailedInstallCarriesItsErrorCode) {
    TargetVerdict v = JudgeTarget(SetTarget("&e=8"));
    ASSERT_EQ(v.status, 200);
    EXPECT_EQ(v.record["e"].AsInt(), 8);
    EXPECT_EQ(JudgeTarget("/clt_v2_set?machid=0123456789ABCDEF0123456789ABCDEF&plat=30&op=2&v=-5&l=1&c=28012&md5=")
                  .record["v"].AsInt(),
              -5);
}

TEST(StatsTargets, MalformedStatisticsRequestsAreRefusedWithTheReason) {
    EXPECT_EQ(JudgeTarget("/nothing?machid=x").status, 404);
    EXPECT_EQ(JudgeTarget("/clt_v2_set").status, 400);
    EXPECT_EQ(JudgeTarget(SetTarget("&e=0")).status, 400);                          // e is only sent when not 0
    EXPECT_EQ(JudgeTarget(SetTarget("&e=x")).status, 400);
    EXPECT_EQ(JudgeTarget(SetTarget("&md5=")).status, 400);                         // repeated
    EXPECT_EQ(JudgeTarget(SetTarget("&extra=1")).status, 400);
    EXPECT_EQ(JudgeTarget("/clt_v2_set?machid=0123456789abcdef0123456789abcdef&plat=30&op=1&v=0&l=1&c=1&md5=").status, 400);
    EXPECT_EQ(JudgeTarget("/clt_v2_set?machid=0123456789ABCDEF0123456789ABCDEF&plat=31&op=1&v=0&l=1&c=1&md5=").status, 400);
    EXPECT_EQ(JudgeTarget("/clt_v2_set?machid=0123456789ABCDEF0123456789ABCDEF&plat=30&op=1&v=0&l=1&c=1").status, 400);
    EXPECT_EQ(JudgeTarget("/clt_v2_set?machid=0123456789ABCDEF0123456789ABCDEF&plat=30&op=&v=0&l=1&c=1&md5=").status, 400);
    TargetVerdict v = JudgeTarget("/clt_v2_set?junk");
    EXPECT_EQ(v.status, 400);
    EXPECT_FALSE(v.record["error"].AsText().empty());
    EXPECT_EQ(v.record["target"].AsText(), "/clt_v2_set?junk");
}

TEST(StatsTargets, FeedbackIsDecodedIntoReasonsAndTexts) {
    TargetVerdict v = JudgeTarget(FeedbackTarget("{\"check\":[1,3]}\n"));
    ASSERT_EQ(v.status, 200) << v.record.WriteCompact();
    EXPECT_EQ(v.record["kind"].AsText(), "fb");
    EXPECT_EQ(v.record["fb_text"].AsText(), "{\"check\":[1,3]}\n");
    ASSERT_EQ(v.record["check"].Size(), 2u);
    EXPECT_EQ(v.record["check"].At(1).AsInt(), 3);
    EXPECT_FALSE(v.record.HasMember("feedback"));

    v = JudgeTarget(FeedbackTarget("{\"feedback\":[\"太卡了\"]}\n"));
    ASSERT_EQ(v.status, 200);
    EXPECT_EQ(v.record["feedback"].At(0).AsText(), "太卡了");
}

TEST(StatsTargets, FeedbackBase64KeepsPlusSlashAndPaddingLiteral) {
    // This text encodes to Base64 holding "+", "/" and "=": none may be read as URL escapes.
    std::string json = "{\"feedback\":[\"?>>>\"]}\n";
    std::string target = FeedbackTarget(json);
    ASSERT_NE(target.find('+'), std::string::npos);
    ASSERT_NE(target.find('/', 1), std::string::npos);
    ASSERT_NE(target.find('='), std::string::npos);
    TargetVerdict v = JudgeTarget(target);
    ASSERT_EQ(v.status, 200) << v.record.WriteCompact();
    EXPECT_EQ(v.record["fb_text"].AsText(), json);
}

TEST(StatsTargets, FeedbackThatIsNotBase64JsonOrTheReportShapeIsRefused) {
    std::string prefix = std::string("/clt_v2_fb?machid=") + kMachid + "&plat=30&fb=";
    EXPECT_EQ(JudgeTarget(prefix + "abc").status, 400);                       // length
    EXPECT_EQ(JudgeTarget(prefix + "ab%3D").status, 400);                     // escaped padding
    EXPECT_EQ(JudgeTarget(FeedbackTarget("not json")).status, 400);
    EXPECT_EQ(JudgeTarget(FeedbackTarget("{}\n")).status, 400);
    EXPECT_EQ(JudgeTarget(FeedbackTarget("{\"check\":[\"1\"]}\n")).status, 400);
    EXPECT_EQ(JudgeTarget(FeedbackTarget("{\"feedback\":[2]}\n")).status, 400);
    EXPECT_EQ(JudgeTarget(FeedbackTarget("{\"check\":[1],\"x\":1}\n")).status, 400);
    EXPECT_EQ(JudgeTarget(std::string("/clt_v2_fb?machid=") + kMachid + "&plat=30").status, 400);
}

TEST(StatsBase64, StrictDecodingHonoursPaddingAndRefusesStrayCharacters) {
    std::string out;
    ASSERT_TRUE(DecodeBase64Strict("YWJj", out));
    EXPECT_EQ(out, "abc");
    ASSERT_TRUE(DecodeBase64Strict("YWI=", out));
    EXPECT_EQ(out, "ab");
    ASSERT_TRUE(DecodeBase64Strict("YQ==", out));
    EXPECT_EQ(out, "a");
    ASSERT_TRUE(DecodeBase64Strict("", out));
    EXPECT_EQ(out, "");
    EXPECT_FALSE(DecodeBase64Strict("YQ=", out));
    EXPECT_FALSE(DecodeBase64Strict("Y=Jj", out));
    EXPECT_FALSE(DecodeBase64Strict("YQ==YWJj", out));
    EXPECT_FALSE(DecodeBase64Strict("YW J", out));
}

uint32_t LengthField(const std::string& body) {
    return uint32_t(uint8_t(body[0])) << 24 | uint32_t(uint8_t(body[1])) << 16 | uint32_t(uint8_t(body[2])) << 8 |
           uint8_t(body[3]);
}

TEST(StatsReplies, AValidReplyIsTheBigEndianLengthThenTheZlibStream) {
    std::string json = "{\"code\":0}";
    std::string body = EncodeReplyBody(json, ReplyForm::kValid);
    ASSERT_GT(body.size(), 6u);
    EXPECT_EQ(LengthField(body), json.size());
    EXPECT_EQ(uint8_t(body[4]), 0x78);  // zlib header, not raw deflate or gzip
    std::string out(json.size(), '\0');
    uLongf outLen = uLongf(out.size());
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(&out[0]), &outLen, reinterpret_cast<const Bytef*>(body.data() + 4),
                         uLong(body.size() - 4)),
              Z_OK);
    EXPECT_EQ(out, json);
}

TEST(StatsReplies, FailureFormsBreakExactlyOneRule) {
    std::string json = "{\"code\":0}";
    std::string zero = EncodeReplyBody(json, ReplyForm::kZeroLength);
    EXPECT_EQ(LengthField(zero), 0u);
    EXPECT_EQ(zero.substr(4), EncodeReplyBody(json, ReplyForm::kValid).substr(4));
    std::string raw = EncodeReplyBody(json, ReplyForm::kNotZlib);
    EXPECT_EQ(LengthField(raw), json.size());
    EXPECT_EQ(raw.substr(4), json);
    EXPECT_EQ(EncodeReplyBody(json, ReplyForm::kEmpty), "");
}

TEST(StatsReplies, ResponsesCarryStatusAndExactContentLength) {
    EXPECT_EQ(BuildHttpResponse(200, "abc"),
              "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: 3\r\nConnection: close\r\n\r\nabc");
    EXPECT_EQ(BuildHttpResponse(503, "").substr(0, 33), "HTTP/1.1 503 Service Unavailable\r");
}

}  // namespace
}  // namespace kestro::stats
