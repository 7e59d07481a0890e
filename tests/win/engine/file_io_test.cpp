#include "setup/engine/file_io.h"

#include <gtest/gtest.h>

#include "engine_test_support.h"

namespace kestro {
namespace {

using test::ScratchFolder;

std::string Binary(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = char((i * 7919) >> 3);
    return bytes;
}

TEST(WholeFile, RoundTripsBinaryDataLargerThanOneReadPiece) {
    ScratchFolder folder;
    std::wstring path = folder / L"数据 file.bin";
    std::string bytes = Binary(40960 * 3 + 17);
    ASSERT_TRUE(WriteWholeFile(path, bytes));
    std::string back = "left over";
    ASSERT_TRUE(ReadWholeFile(path, back));
    EXPECT_EQ(back, bytes);
}

TEST(WholeFile, EmptyFileReadsAsEmptyAndMissingFileFails) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder / L"empty", ""));
    std::string back = "x";
    EXPECT_TRUE(ReadWholeFile(folder / L"empty", back));
    EXPECT_EQ(back, "");
    back = "x";
    EXPECT_FALSE(ReadWholeFile(folder / L"missing", back));
    EXPECT_EQ(back, "");
}

TEST(WholeFile, WritingFailsWhenTheFileCannotBeOpened) {
    ScratchFolder folder;
    EXPECT_FALSE(WriteWholeFile(folder.Path(), "a folder is no file"));
    EXPECT_FALSE(WriteWholeFile(folder / L"no such folder\\f.bin", "x"));
}

TEST(WholeFile, WritingReplacesTheOldContent) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder / L"f", "a long old content"));
    ASSERT_TRUE(WriteWholeFile(folder / L"f", "new"));
    std::string back;
    ASSERT_TRUE(ReadWholeFile(folder / L"f", back));
    EXPECT_EQ(back, "new");
}

TEST(FileRange, WritesFromStartAtMostCountAndNeverPastTheEnd) {
    ScratchFolder folder;
    const std::string bytes = "0123456789";
    std::string back;
    ASSERT_TRUE(WriteFileRange(folder / L"mid", 2, bytes, 3));
    ASSERT_TRUE(ReadWholeFile(folder / L"mid", back));
    EXPECT_EQ(back, "234");
    ASSERT_TRUE(WriteFileRange(folder / L"tail", 7, bytes, 100));
    ASSERT_TRUE(ReadWholeFile(folder / L"tail", back));
    EXPECT_EQ(back, "789");
    ASSERT_TRUE(WriteFileRange(folder / L"past", 11, bytes, 5));
    ASSERT_TRUE(ReadWholeFile(folder / L"past", back));
    EXPECT_EQ(back, "");
}

TEST(WholeFile, ReadingFailsWhileAnotherProcessHoldsTheFileWithoutSharing) {
    ScratchFolder folder;
    std::wstring path = folder / L"held.bin";
    ASSERT_TRUE(WriteWholeFile(path, "content"));
    test::HelperProcess holder;
    ASSERT_TRUE(holder.Start(test::HelperProgram(), L"hold \"" + path + L"\"", true));
    std::string back;
    EXPECT_FALSE(ReadWholeFile(path, back));
    EXPECT_FALSE(WriteWholeFile(path, "other"));
}

}  // namespace
}  // namespace kestro
