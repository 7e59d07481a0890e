#include "setup/workers/install_journal.h"
#include "setup/workers/installed_items.h"
#include "setup/workers/utf8_path.h"

#include <gtest/gtest.h>

#include <set>

#include "services/encoding/base64.h"
#include "setup/package/package_records.h"

namespace kestro {
namespace {

std::string Encoded(const std::wstring& path) { return UninstallRecord::EncodePath(Utf8FromWide(path)); }

JValue ShippedConfig() {
    JValue config;
    const char* text =
        "{\"channel\":30001,\"lastrun\":\"KestroGC.exe\",\"mode\":1,\"shortcut\":{\"desktop\":[{\"file\":"
        "\"KestroGC.exe\",\"name\":\"Kestro 模拟器\"}],\"taskbar\":[{\"file\":\"KestroGC.exe\",\"name\":"
        "\"Kestro 模拟器\"}]},\"theme\":\"default\"}";
    EXPECT_TRUE(JValue::Parse(std::string(text), config));
    return config;
}

TEST(Utf8Paths, RoundTripChineseAndAstralCharacters) {
    std::wstring path = L"C:\\游戏\\Kestro \U0001F600.txt";
    std::string utf8 = Utf8FromWide(path);
    EXPECT_EQ(utf8, "C:\\\xE6\xB8\xB8\xE6\x88\x8F\\Kestro \xF0\x9F\x98\x80.txt");
    EXPECT_EQ(WideFromUtf8(utf8), path);
}

TEST(Utf8Paths, MalformedBytesBecomeReplacementCharacters) {
    EXPECT_EQ(WideFromUtf8("a\xFF"
                           "b"),
              L"a\xFFFD"
              L"b");
    EXPECT_EQ(WideFromUtf8("a\xE6\xB8"), L"a\xFFFD");
    EXPECT_EQ(WideFromUtf8("\xC0\xAF"), L"\xFFFD");  // overlong "/"
}

TEST(UninstallRecordBuilding, HoldsEveryKeyInArchiveOrderAndCopiesTheShortcuts) {
    ExtractionJournal journal;
    journal.AddFolderEntry(L"C:\\P\\Kestro\\res");
    journal.AddFile(L"C:\\P\\Kestro\\res/a.png");
    journal.AddFile(L"C:\\P\\Kestro\\KestroGC.exe");
    journal.AddFolderEntry(L"C:\\P\\Kestro\\res/皮肤");
    JValue config = ShippedConfig();
    JValue record = BuildUninstallRecord(config, L"C:\\P\\Kestro", 30123, journal);

    EXPECT_EQ(record.MemberNames(), (std::vector<std::string>{"channel", "files", "folders", "mode", "setup"}));
    EXPECT_EQ(record["mode"].AsInt(), 0);
    EXPECT_EQ(record["channel"].AsInt(), 30123);
    EXPECT_EQ(record["setup"]["shortcut"], config["shortcut"]);
    EXPECT_EQ(record["setup"]["root"].AsText(), Encoded(L"C:\\P\\Kestro"));
    ASSERT_EQ(record["files"].Size(), 2u);
    EXPECT_EQ(record["files"].At(0).AsText(), Encoded(L"C:\\P\\Kestro\\res/a.png"));
    EXPECT_EQ(record["files"].At(1).AsText(), Encoded(L"C:\\P\\Kestro\\KestroGC.exe"));
    ASSERT_EQ(record["folders"].Size(), 2u);
    EXPECT_EQ(record["folders"].At(1).AsText(), Encoded(L"C:\\P\\Kestro\\res/皮肤"));
    EXPECT_FALSE(record.HasMember("uninstrun"));
}

TEST(UninstallRecordBuilding, CopiesUninstrunOnlyWhenTheInstallerRecordHasIt) {
    JValue config = ShippedConfig();
    JValue commands = JValue::Array();
    commands.Append("tools/cleanup.exe /all");
    config.Set("uninstrun", commands);
    JValue record = BuildUninstallRecord(config, L"D:\\K", 1, ExtractionJournal());
    EXPECT_EQ(record["uninstrun"], commands);
    EXPECT_EQ(record["files"].Size(), 0u);
    EXPECT_TRUE(record["files"].IsArray());
}

TEST(UninstallRecordBuilding, ARecordDecodesBackToTheExtractedPaths) {
    ExtractionJournal journal;
    journal.AddFile(L"C:\\游戏\\Kestro\\doc/说明.txt");
    journal.AddFolderEntry(L"C:\\游戏\\Kestro\\doc");
    JValue written = BuildUninstallRecord(ShippedConfig(), L"C:\\游戏\\Kestro", 30001, journal);
    JValue read;
    ASSERT_TRUE(JValue::Parse(written.WriteCompact(), read));
    InstalledItems items;
    ASSERT_TRUE(DecodeInstalledItems(read, items));
    EXPECT_EQ(items.root, L"C:\\游戏\\Kestro");
    EXPECT_EQ(items.files, std::vector<std::wstring>{L"C:\\游戏\\Kestro\\doc\\说明.txt"});
    EXPECT_EQ(items.folders, std::vector<std::wstring>{L"C:\\游戏\\Kestro\\doc"});
    EXPECT_EQ(items.rejected, 0u);
}

TEST(Rollback, RemovesCreatedFoldersChildrenFirst) {
    ExtractionJournal journal;
    journal.AddCreatedFolder(L"T\\a");
    journal.AddCreatedFolder(L"T\\a\\b");
    journal.AddCreatedFolder(L"T\\c");
    EXPECT_EQ(journal.FoldersToRemoveOnRollback(), (std::vector<std::wstring>{L"T\\c", L"T\\a\\b", L"T\\a"}));
}

TEST(Rollback, MissingFolderChainListsOnlyTheFoldersCreationMakes) {
    std::set<std::wstring> existing = {L"C:", L"C:\\T"};
    auto exists = [&](const std::wstring& p) { return existing.count(p) > 0; };
    EXPECT_EQ(MissingFolderChain(L"C:\\T\\a/b\\c", exists),
              (std::vector<std::wstring>{L"C:\\T\\a", L"C:\\T\\a/b", L"C:\\T\\a/b\\c"}));
    EXPECT_TRUE(MissingFolderChain(L"C:\\T\\", exists).empty());
    auto nothing = [](const std::wstring&) { return false; };
    EXPECT_EQ(MissingFolderChain(L"C:\\x", nothing), std::vector<std::wstring>{L"C:\\x"});
}

TEST(UninstallScope, OnlyPathsStrictlyBelowTheRootQualify) {
    const std::wstring root = L"C:\\Program Files\\Tarnwell\\KestroGC";
    EXPECT_TRUE(IsStrictlyInsideRoot(root + L"\\KestroGC.exe", root));
    EXPECT_TRUE(IsStrictlyInsideRoot(L"c:\\program files\\tarnwell\\kestrogc\\res/a.png", root));
    EXPECT_FALSE(IsStrictlyInsideRoot(root, root));
    EXPECT_FALSE(IsStrictlyInsideRoot(root + L"\\", root));
    EXPECT_FALSE(IsStrictlyInsideRoot(root + L"\\.", root));
    EXPECT_FALSE(IsStrictlyInsideRoot(root + L"\\..\\Other", root));
    EXPECT_FALSE(IsStrictlyInsideRoot(root + L"\\res\\..\\..", root));
    EXPECT_FALSE(IsStrictlyInsideRoot(root + L"Evil\\x", root));  // a sibling sharing the prefix
    EXPECT_FALSE(IsStrictlyInsideRoot(L"C:\\Windows\\system32\\x.dll", root));
    EXPECT_FALSE(IsStrictlyInsideRoot(root + L"\\a:b", root));
    // An install into a root written with a trailing separator stored doubled ones.
    EXPECT_TRUE(IsStrictlyInsideRoot(L"D:\\Games\\\\a.txt", L"D:\\Games\\"));
}

TEST(UninstallScope, RootsBelowADriveOrShareOnly) {
    EXPECT_TRUE(IsAcceptableRoot(L"D:\\Games"));
    EXPECT_TRUE(IsAcceptableRoot(L"\\\\server\\share\\Kestro"));
    EXPECT_FALSE(IsAcceptableRoot(L"C:\\"));
    EXPECT_FALSE(IsAcceptableRoot(L"C:"));
    EXPECT_FALSE(IsAcceptableRoot(L"\\\\server\\share"));
    EXPECT_FALSE(IsAcceptableRoot(L"relative\\folder"));
    EXPECT_FALSE(IsAcceptableRoot(L"C:\\Games\\..\\Windows"));
    EXPECT_FALSE(IsAcceptableRoot(L""));
}

TEST(UninstallScope, ATamperedRecordKeepsOnlyItsInsidePaths) {
    ConversionArena arena;
    JValue record;
    JValue setup = JValue::Object();
    setup.Set("root", Encoded(L"D:\\K"));
    record.Set("setup", setup);
    JValue files = JValue::Array();
    files.Append(Encoded(L"D:\\K\\ok.txt"));
    files.Append(Encoded(L"D:\\K\\..\\boot.ini"));
    files.Append(Encoded(L"C:\\Windows\\win.ini"));
    files.Append("not base64 at all!");
    record.Set("files", files);
    JValue folders = JValue::Array();
    folders.Append(Encoded(L"D:\\K"));
    folders.Append(Encoded(L"D:\\K/sub"));
    record.Set("folders", folders);

    InstalledItems items;
    ASSERT_TRUE(DecodeInstalledItems(record, items));
    EXPECT_EQ(items.files, std::vector<std::wstring>{L"D:\\K\\ok.txt"});
    EXPECT_EQ(items.folders, std::vector<std::wstring>{L"D:\\K\\sub"});
    EXPECT_EQ(items.rejected, 4u);
}

TEST(UninstallScope, ParentFoldersOfFilesAreListedDeepestFirstAndNeverTheRoot) {
    std::vector<std::wstring> files = {L"D:\\K\\a\\b\\x.txt", L"D:\\K\\top.txt", L"D:\\K\\a\\y.txt", L"D:\\K\\c/z.txt"};
    EXPECT_EQ(ParentFoldersBelowRoot(files, L"D:\\K"),
              (std::vector<std::wstring>{L"D:\\K\\a\\b", L"D:\\K\\a", L"D:\\K\\c"}));
    EXPECT_TRUE(ParentFoldersBelowRoot({L"E:\\other\\x.txt"}, L"D:\\K").empty());
}

TEST(UninstallScope, ARecordWithoutAUsableRootIsRefused) {
    InstalledItems items;
    EXPECT_FALSE(DecodeInstalledItems(JValue(), items));
    JValue record;
    JValue setup = JValue::Object();
    setup.Set("root", Encoded(L"C:\\"));
    record.Set("setup", setup);
    EXPECT_FALSE(DecodeInstalledItems(record, items));
}

}  // namespace
}  // namespace kestro
