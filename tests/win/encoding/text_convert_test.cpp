#include "services/encoding/text_convert.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace kestro {
namespace {

TEST(TextConvert, NullInputGivesTheSharedEmptyTextAndAllocatesNothing) {
    ConversionArena arena;
    EXPECT_EQ(ToWide(nullptr, arena, CP_UTF8), kEmptyWide);
    EXPECT_EQ(ToNarrow(nullptr, arena, CP_UTF8), kEmptyNarrow);
    EXPECT_EQ(arena.BufferCount(), 0u);
}

TEST(TextConvert, Utf8RoundTripsChineseText) {
    ConversionArena arena;
    const char* utf8 = "Kestro \xe6\xa8\xa1\xe6\x8b\x9f\xe5\x99\xa8";  // Kestro 模拟器
    const wchar_t* wide = ToWide(utf8, arena, CP_UTF8);
    EXPECT_STREQ(wide, L"Kestro \x6a21\x62df\x5668");
    EXPECT_STREQ(ToNarrow(wide, arena, CP_UTF8), utf8);
}

TEST(TextConvert, TheTestPrefixRunsWithTheSimplifiedChineseAnsiCodePage) {
    ASSERT_EQ(GetACP(), 936u);
    ConversionArena arena;
    // 模 in GBK is C4 A3.
    EXPECT_STREQ(ToNarrow(L"\x6a21", arena, CP_ACP), "\xc4\xa3");
    EXPECT_STREQ(ToWide("\xc4\xa3", arena, CP_ACP), L"\x6a21");
}

TEST(TextConvert, EmptyTextConvertsToAnEmptyOwnedBuffer) {
    ConversionArena arena;
    EXPECT_STREQ(ToWide("", arena, CP_UTF8), L"");
    EXPECT_STREQ(ToNarrow(L"", arena, CP_UTF8), "");
}

}  // namespace
}  // namespace kestro
