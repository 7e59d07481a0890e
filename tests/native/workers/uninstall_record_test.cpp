#include "setup/workers/install_journal.h"
#include "setup/workers/install_root.h"
#include "setup/workers/installed_items.h"
#include "services/base/utf8.h"

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

// The normal form holds no "/", no empty, "." or ".." component, and its root (drive
// or share) has at least one folder below it; checked here without the rule's own code.
bool LooksNormal(const std::wstring& folder) {
    if (folder.find(L'/') != std::wstring::npos) return false;
    size_t below = 0;
    if (folder.size() > 3 && folder[1] == L':' && folder[2] == L'\\') {
        below = 3;
    } else if (folder.compare(0, 2, L"\\\\") == 0) {
        below = folder.find(L'\\', folder.find(L'\\', 2) + 1) + 1;
        if (below == 0 || folder.find(L'\\', 2) == 2) return false;
    } else {
        return false;
    }
    std::wstring rest = folder.substr(below) + L"\\";
    for (size_t start = 0, end; (end = rest.find(L'\\', start)) != std::wstring::npos; start = end + 1) {
        std::wstring component = rest.substr(start, end - start);
        if (component.empty() || component == L"." || component == L"..") return false;
    }
    return true;
}

// Folder texts built from the pieces they are made of, in many orders: whatever the
// install accepts is, in its normal form, a root its uninstaller takes back with every
// file installed below it; whatever the install refuses, the uninstaller refuses too.
TEST(UninstallScope, EveryFolderTheInstallAcceptsItsUninstallerRemoves) {
    const wchar_t* const pieces[] = {L"C:", L"d:", L"\\", L"/", L"\\\\", L".", L"..", L"Games", L"My Games", L"游戏",
                                     L" ", L"a.", L"x:y", L"CON", L"*", L"srv", L"Tarnwell\\KestroGC"};
    uint32_t state = 2463534242u;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    size_t acceptedCount = 0;
    for (int i = 0; i < 30000; ++i) {
        std::wstring text = (i % 3 == 0) ? L"C:\\" : (i % 3 == 1 ? L"\\\\srv\\share" : L"");
        for (uint32_t n = next() % 8; n > 0; --n) text += pieces[next() % (sizeof pieces / sizeof *pieces)];
        SCOPED_TRACE(Utf8FromWide(text));
        std::wstring normal;
        const bool accepted = AcceptInstallFolder(text, normal);

        JValue asGiven;
        JValue setup = JValue::Object();
        setup.Set("root", Encoded(text));
        asGiven.Set("setup", setup);
        InstalledItems given;
        ASSERT_EQ(DecodeInstalledItems(asGiven, given), accepted);
        if (!accepted) continue;
        ++acceptedCount;
        ASSERT_TRUE(LooksNormal(normal)) << Utf8FromWide(normal);
        EXPECT_EQ(given.root, normal);
        std::wstring again;
        ASSERT_TRUE(AcceptInstallFolder(normal, again));
        EXPECT_EQ(again, normal);

        // What an install into the normal form records, and what its uninstaller then takes.
        ExtractionJournal journal;
        journal.AddFile(normal + L"\\KestroGC.exe");
        journal.AddFolderEntry(normal + L"\\res");
        journal.AddFile(normal + L"\\res/a.png");
        JValue written = BuildUninstallRecord(ShippedConfig(), normal, 30001, journal);
        InstalledItems items;
        ASSERT_TRUE(DecodeInstalledItems(written, items));
        EXPECT_EQ(items.root, normal);
        EXPECT_EQ(items.files, (std::vector<std::wstring>{normal + L"\\KestroGC.exe", normal + L"\\res\\a.png"}));
        EXPECT_EQ(items.folders, std::vector<std::wstring>{normal + L"\\res"});
        EXPECT_EQ(items.rejected, 0u);
        EXPECT_TRUE(EntryAllowsRoot(normal + L"\\unins000.exe", items.root));
        EXPECT_TRUE(EntryAllowsRoot(L"", items.root));
        EXPECT_FALSE(EntryAllowsRoot(normal + L"\\sub\\unins000.exe", items.root));
    }
    // The pieces reach both sides of the rule often.
    EXPECT_GT(acceptedCount, 1500u);
    EXPECT_LT(acceptedCount, 27000u);
}

TEST(UninstallScope, OnlyTheFolderOfTheUninstallEntryMayBeRemoved) {
    const std::wstring root = L"C:\\Program Files\\Tarnwell\\KestroGC";
    EXPECT_TRUE(EntryAllowsRoot(L"c:/program files/tarnwell/kestrogc//unins000.exe", root));
    EXPECT_FALSE(EntryAllowsRoot(L"C:\\Program Files\\Tarnwell\\Other\\unins000.exe", root));
    EXPECT_FALSE(EntryAllowsRoot(L"C:\\Program Files\\Tarnwell\\unins000.exe", root));
    EXPECT_FALSE(EntryAllowsRoot(L"C:\\unins000.exe", L"C:\\"));
    EXPECT_FALSE(EntryAllowsRoot(L"unins000.exe", root));
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
