#include "services/http/chunked_decoder.h"

#include <gtest/gtest.h>

#include "services/http/http_wire.h"

namespace kestro {
namespace {

ChunkedDecoder::State FeedByteByByte(ChunkedDecoder& decoder, const std::string& wire, std::string& out) {
    for (char c : wire) {
        if (decoder.Feed(&c, 1, out) != ChunkedDecoder::State::NeedMore) break;
    }
    return decoder.GetState();
}

TEST(ChunkedDecoder, TwoChunksDecodeWholeAndOneBytePerDelivery) {
    const std::string wire = "4\r\nWiki\r\n5\r\npedia\r\n0\r\n\r\n";
    ChunkedDecoder whole;
    std::string out;
    EXPECT_EQ(whole.Feed(wire.data(), wire.size(), out), ChunkedDecoder::State::Done);
    EXPECT_EQ(out, "Wikipedia");

    ChunkedDecoder split;
    std::string out2;
    EXPECT_EQ(FeedByteByByte(split, wire, out2), ChunkedDecoder::State::Done);
    EXPECT_EQ(out2, "Wikipedia");
}

TEST(ChunkedDecoder, SizeLineExtensionIsIgnored) {
    std::string data(26, 'z');
    std::string wire = "1a;ext=1\r\n" + data + "\r\n0\r\n\r\n";
    ChunkedDecoder decoder;
    std::string out;
    EXPECT_EQ(FeedByteByByte(decoder, wire, out), ChunkedDecoder::State::Done);
    EXPECT_EQ(out, data);
}

TEST(ChunkedDecoder, IncompleteBodyStaysWaiting) {
    ChunkedDecoder decoder;
    std::string out;
    EXPECT_EQ(decoder.Feed("5\r\nab", 5, out), ChunkedDecoder::State::NeedMore);
    EXPECT_EQ(out, "ab");
}

TEST(ChunkedDecoder, OverflowingAndOversizedChunksFail) {
    std::string out;
    ChunkedDecoder overflow;
    EXPECT_EQ(overflow.Feed("1ffffffffffffffff\r\n", 19, out), ChunkedDecoder::State::Failed);
    ChunkedDecoder tooLarge;
    EXPECT_EQ(tooLarge.Feed("4000001\r\n", 9, out), ChunkedDecoder::State::Failed);
    ChunkedDecoder endlessLine;
    std::string line(kHttpMaxHeaderBlock + 10, '1');
    EXPECT_EQ(endlessLine.Feed(line.data(), line.size(), out), ChunkedDecoder::State::Failed);
    EXPECT_TRUE(out.empty());
}

TEST(ChunkedDecoder, ManyChunksTogetherPastTheMemoryLimitFail) {
    ChunkedDecoder decoder;
    std::string out;
    std::string chunk(1024 * 1024, 'a');
    std::string wire = "100000\r\n" + chunk + "\r\n";
    ChunkedDecoder::State state = ChunkedDecoder::State::NeedMore;
    for (int i = 0; i < 70 && state == ChunkedDecoder::State::NeedMore; ++i) state = decoder.Feed(wire.data(), wire.size(), out);
    EXPECT_EQ(state, ChunkedDecoder::State::Failed);
    EXPECT_LE(out.size(), static_cast<size_t>(kHttpMaxBodyBytes));
}

TEST(ChunkedDecoder, UnreadableSizeLineEndsTheBody) {
    ChunkedDecoder decoder;
    std::string out;
    EXPECT_EQ(decoder.Feed("2\r\nok\r\nzz\r\n", 11, out), ChunkedDecoder::State::Done);
    EXPECT_EQ(out, "ok");
}

}  // namespace
}  // namespace kestro
