#include "setup/workers/entry_name_rules.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

bool Accepts(const std::wstring& name) {
    EntryName parsed;
    return ParseEntryName(TrimEntryName(name), parsed);
}

TEST(EntryNames, OrdinaryFilesAndFoldersAreAccepted) {
    EntryName parsed;
    ASSERT_TRUE(ParseEntryName(L"bin/KestroGC.exe", parsed));
    EXPECT_FALSE(parsed.isFolder);
    EXPECT_EQ(parsed.relative, L"bin/KestroGC.exe");
    ASSERT_TRUE(ParseEntryName(L"res/皮肤/", parsed));
    EXPECT_TRUE(parsed.isFolder);
    EXPECT_EQ(parsed.relative, L"res/皮肤");
    EXPECT_TRUE(Accepts(L"a.b.c/.hidden/file.tar.gz"));
    EXPECT_TRUE(Accepts(L"win\\style\\name.txt"));
}

TEST(EntryNames, WhiteSpaceIsTrimmedAndEmptyNamesFail) {
    EXPECT_EQ(TrimEntryName(L" \t readme.txt\r\n"), L"readme.txt");
    EXPECT_FALSE(Accepts(L""));
    EXPECT_FALSE(Accepts(L"  \t "));
    EXPECT_FALSE(Accepts(L"/"));
}

TEST(EntryNames, NamesThatClimbOutOfTheTargetAreRefused) {
    EXPECT_FALSE(Accepts(L"../evil.exe"));
    EXPECT_FALSE(Accepts(L"a/../../evil.exe"));
    EXPECT_FALSE(Accepts(L"a\\..\\..\\evil.exe"));
    EXPECT_FALSE(Accepts(L".."));
    EXPECT_FALSE(Accepts(L"../"));
    EXPECT_FALSE(Accepts(L"./"));  // would record the target folder itself
    EXPECT_FALSE(Accepts(L"a/./b"));
    EXPECT_FALSE(Accepts(L"a/.../b"));  // Windows strips the dots: the same as "a/b" at best
}

TEST(EntryNames, AbsoluteDriveAndStreamNamesAreRefused) {
    EXPECT_FALSE(Accepts(L"/etc/passwd"));
    EXPECT_FALSE(Accepts(L"\\Windows\\evil.dll"));
    EXPECT_FALSE(Accepts(L"\\\\server\\share\\x"));
    EXPECT_FALSE(Accepts(L"C:/evil.exe"));
    EXPECT_FALSE(Accepts(L"C:evil.exe"));
    EXPECT_FALSE(Accepts(L"file.txt:stream"));
}

TEST(EntryNames, CharactersWindowsForbidsAreRefused) {
    for (const wchar_t* name : {L"a<b", L"a>b", L"a\"b", L"a|b", L"a?b", L"a*b"}) {
        EXPECT_FALSE(Accepts(name)) << name;
    }
    EXPECT_FALSE(
        Accepts(std::wstring(L"a\x01"
                             L"b")));
    EXPECT_FALSE(Accepts(std::wstring(L"dir/a\x1f")));
    EXPECT_FALSE(Accepts(std::wstring(L"a\nb")));
    EXPECT_FALSE(Accepts(L"a /b"));    // trailing blank inside a component
    EXPECT_FALSE(Accepts(L"dir./b"));  // trailing dot inside a component
    EXPECT_FALSE(Accepts(L"a//b"));
}

TEST(EntryNames, DeviceNamesAreRefusedWhateverTheExtension) {
    EXPECT_FALSE(Accepts(L"NUL"));
    EXPECT_FALSE(Accepts(L"bin/con.txt"));
    EXPECT_FALSE(Accepts(L"com1.log"));
    EXPECT_FALSE(Accepts(L"LPT9"));
    EXPECT_TRUE(Accepts(L"console.txt"));
    EXPECT_TRUE(Accepts(L"com10.txt"));
    EXPECT_TRUE(Accepts(L"nullable/x"));
}

TEST(EntryNames, NamesOf1024BytesOrMoreDoNotFit) {
    EXPECT_TRUE(EntryNameFits(0));
    EXPECT_TRUE(EntryNameFits(1023));
    EXPECT_FALSE(EntryNameFits(1024));
    EXPECT_FALSE(EntryNameFits(65535));
}

}  // namespace
}  // namespace kestro
