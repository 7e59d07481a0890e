#include "setup/engine/path_rules.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

TEST(DeletableFolderPath, DriveRootsAndShortPathsAreRefused) {
    EXPECT_FALSE(IsDeletableFolderPath(L"C:\\"));
    EXPECT_FALSE(IsDeletableFolderPath(L"  C:\\  "));
    EXPECT_FALSE(IsDeletableFolderPath(L"C:"));
    EXPECT_FALSE(IsDeletableFolderPath(L""));
    EXPECT_FALSE(IsDeletableFolderPath(L"\\\\a"));
}

TEST(DeletableFolderPath, RelativePathsAndWildcardsAreRefused) {
    EXPECT_FALSE(IsDeletableFolderPath(L"Kestro\\data"));
    EXPECT_FALSE(IsDeletableFolderPath(L"\\Kestro"));
    EXPECT_FALSE(IsDeletableFolderPath(L"C:Kestro"));
    EXPECT_FALSE(IsDeletableFolderPath(L"..\\..\\x"));
    EXPECT_FALSE(IsDeletableFolderPath(L"C:\\Kestro\\*"));
    EXPECT_FALSE(IsDeletableFolderPath(L"C:\\Kes?ro"));
}

TEST(DeletableFolderPath, AbsoluteFoldersAreAccepted) {
    EXPECT_TRUE(IsDeletableFolderPath(L"C:\\X"));
    EXPECT_TRUE(IsDeletableFolderPath(L" C:\\Program Files (x86)\\Kestro \t"));
    EXPECT_TRUE(IsDeletableFolderPath(L"d:/games"));
    EXPECT_TRUE(IsDeletableFolderPath(L"\\\\server\\share\\x"));
}

TEST(PathParts, FileNameAndTrimming) {
    EXPECT_EQ(FileNamePart(L"C:\\a\\b.exe"), L"b.exe");
    EXPECT_EQ(FileNamePart(L"C:/a/b.exe"), L"b.exe");
    EXPECT_EQ(FileNamePart(L"b.exe"), L"b.exe");
    EXPECT_EQ(FileNamePart(L"C:\\a\\"), L"");
    EXPECT_EQ(TrimBlanks(L"\t a b \r\n"), L"a b");
    EXPECT_EQ(TrimBlanks(L"   "), L"");
}

TEST(PathParts, FileNamesCompareWithoutCase) {
    EXPECT_TRUE(SameFileName(L"KestroGC.EXE", L"kestrogc.exe"));
    EXPECT_FALSE(SameFileName(L"KestroGC.exe", L"KestroGC.ex"));
    EXPECT_TRUE(SameFileName(L"模拟器.exe", L"模拟器.EXE"));
}

}  // namespace
}  // namespace kestro
