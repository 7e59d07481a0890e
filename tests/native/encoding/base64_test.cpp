#include "services/encoding/base64.h"

#include <gtest/gtest.h>

#include <string>

namespace kestro {
namespace {

TEST(Base64, EncodesWithPadding) {
    ConversionArena arena;
    EXPECT_STREQ(Base64Encode(arena, "abc"), "YWJj");
    EXPECT_STREQ(Base64Encode(arena, "ab"), "YWI=");
    EXPECT_STREQ(Base64Encode(arena, "a"), "YQ==");
    EXPECT_STREQ(Base64Encode(arena, "user:pass"), "dXNlcjpwYXNz");
    EXPECT_STREQ(Base64Encode(arena, "\xff\xfe\xfd"), "//79");
}

TEST(Base64, EmptyAndNullInputsGiveTheSharedEmptyTextWithoutAllocating) {
    ConversionArena arena;
    EXPECT_EQ(Base64Encode(arena, ""), kEmptyNarrow);
    EXPECT_EQ(Base64Encode(arena, nullptr), kEmptyNarrow);
    EXPECT_EQ(Base64Decode("", arena), kEmptyNarrow);
    EXPECT_EQ(Base64Decode(nullptr, arena), kEmptyNarrow);
    EXPECT_EQ(arena.BufferCount(), 0u);
}

TEST(Base64, DecodesPaddedGroups) {
    ConversionArena arena;
    EXPECT_STREQ(Base64Decode("YWJj", arena), "abc");
    EXPECT_STREQ(Base64Decode("YWI=", arena), "ab");
    EXPECT_STREQ(Base64Decode("YQ==", arena), "a");
    EXPECT_STREQ(Base64Decode("QzpcUHJvZ3JhbSBGaWxlc1xLZXN0cm8=", arena), "C:\\Program Files\\Kestro");
}

TEST(Base64, RoundTripsUtf8PathsOfEveryLength) {
    ConversionArena arena;
    std::string path = "C:\\游戏\\Kestro 模拟器\\";
    for (size_t n = 1; n <= path.size(); ++n) {
        std::string prefix = path.substr(0, n);
        EXPECT_EQ(Base64Decode(Base64Encode(arena, prefix.c_str()), arena), prefix);
    }
}

TEST(Base64, UnpaddedTailsDecodeTheirLeadingBytesWithinTheBuffer) {
    ConversionArena arena;
    // Tails of 1, 2 and 3 characters: the sanitizers watch the buffer bounds.
    EXPECT_STREQ(Base64Decode("YWJjY", arena), "abc`");
    EXPECT_STREQ(Base64Decode("YWJjYQ", arena), "abca");
    EXPECT_STREQ(Base64Decode("YWJjYWI", arena), "abcab");
    EXPECT_STREQ(Base64Decode("Y", arena), "`");
}

TEST(Base64, StopsAtTheFirstCharacterOutsideTheAlphabet) {
    ConversionArena arena;
    EXPECT_STREQ(Base64Decode("YWJj\nYWJj", arena), "abc");
    EXPECT_STREQ(Base64Decode("YWJj*garbage", arena), "abc");
    EXPECT_STREQ(Base64Decode("*YWJj", arena), "");
}

TEST(Base64, ArenaOwnsResultsUntilCleared) {
    ConversionArena arena;
    const char* a = Base64Encode(arena, "one");
    const char* b = Base64Encode(arena, "two");
    EXPECT_STREQ(a, "b25l");
    EXPECT_STREQ(b, "dHdv");
    EXPECT_EQ(arena.BufferCount(), 2u);
    arena.Clear();
    EXPECT_EQ(arena.BufferCount(), 0u);
}

}  // namespace
}  // namespace kestro
