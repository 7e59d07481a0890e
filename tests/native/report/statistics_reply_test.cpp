#include "services/report/statistics_reply.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "tools/stats-server/stats_protocol.h"

namespace kestro {
namespace {

std::string Length(uint32_t n) {
    return std::string{char(n >> 24), char((n >> 16) & 0xff), char((n >> 8) & 0xff), char(n & 0xff)};
}

std::string Deflate(const std::string& text) {
    uLongf size = compressBound(uLong(text.size()));
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(text.data()), uLong(text.size()));
    out.resize(size);
    return out;
}

TEST(StatisticsReply, TheServersReplyDecodesToItsJson) {
    JValue out;
    ASSERT_TRUE(DecodeStatisticsReply(stats::EncodeReplyBody("{\"code\":0,\"msg\":\"ok\"}", stats::ReplyForm::kValid), out));
    EXPECT_EQ(out["msg"].AsText(), "ok");
}

TEST(StatisticsReply, AnEmptyBodyCountsAsSuccess) {
    JValue out;
    EXPECT_TRUE(DecodeStatisticsReply("", out));
}

TEST(StatisticsReply, LengthZeroIsRejectedWhateverFollows) {
    JValue out;
    EXPECT_FALSE(DecodeStatisticsReply(stats::EncodeReplyBody("{}", stats::ReplyForm::kZeroLength), out));
    EXPECT_FALSE(DecodeStatisticsReply(std::string(4, '\0'), out));
}

TEST(StatisticsReply, DataThatIsNotAZlibStreamIsRejected) {
    JValue out;
    EXPECT_FALSE(DecodeStatisticsReply(stats::EncodeReplyBody("{\"code\":0}", stats::ReplyForm::kNotZlib), out));
    std::string stream = Deflate("{\"code\":0}");
    EXPECT_FALSE(DecodeStatisticsReply(Length(10) + stream.substr(0, stream.size() - 3), out));  // truncated
}

TEST(StatisticsReply, ShortBodiesAndOversizedLengthsAreRejected) {
    JValue out;
    EXPECT_FALSE(DecodeStatisticsReply(std::string("\x00\x00\x01", 3), out));
    EXPECT_FALSE(DecodeStatisticsReply(Length(0x4000001) + Deflate("{}"), out));
    // A length smaller than the data: inflation cannot complete in that room.
    EXPECT_FALSE(DecodeStatisticsReply(Length(3) + Deflate("{\"code\":0}"), out));
}

TEST(StatisticsReply, TheLengthIsAnUpperBoundAndTheLimitItselfIsAllowed) {
    JValue out;
    EXPECT_TRUE(DecodeStatisticsReply(Length(100) + Deflate("[1,2]"), out));
    EXPECT_EQ(out.Size(), 2u);
    EXPECT_TRUE(DecodeStatisticsReply(Length(0x4000000) + Deflate("{\"a\":1}"), out));
    EXPECT_EQ(out["a"].AsInt(), 1);
}

TEST(StatisticsReply, InflatedTextThatIsNotJsonFails) {
    JValue out;
    EXPECT_FALSE(DecodeStatisticsReply(Length(9) + Deflate("not json!"), out));
}

}  // namespace
}  // namespace kestro
