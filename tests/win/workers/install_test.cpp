#include <windows.h>
#include <aclapi.h>
#include <imagehlp.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "services/base/utf8.h"
#include "setup/package/package_layout.h"
#include "setup/package/package_reader.h"
#include "setup/package/package_records.h"
#include "setup/workers/product_names.h"
#include "worker_test_support.h"

namespace kestro {
namespace testing {
namespace {

std::string Encoded(const std::wstring& path) { return UninstallRecord::EncodePath(Utf8FromWide(path)); }

TEST_F(WorkerTest, FreshInstallExtractsEveryEntryAndRecordsItForTheUninstaller) {
    JValue config = StandardConfig();
    std::vector<ZipEntry> entries = StandardEntries();
    std::wstring package = WritePackage(L"setup_1.0_partner.exe", config, entries);
    DriverResult result = Install(package);
    ASSERT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.Posted(), 0x8401);
    EXPECT_EQ(result.json["postCount"].AsInt(), 1);
    EXPECT_EQ(result.json["operation"].AsInt(), 1);
    EXPECT_EQ(result.json["bar"].AsInt(), 100);
    EXPECT_EQ(result.json["target"].AsInt(), 100);
    // [bar, target, temporary archives on disk] of each step in order (-1: left as it
    // was): target 50; bar 50, target 55; 55/60 once the installer is read, before the
    // temporary archive exists; 60/70 once it is written; 70/85 after extraction, the
    // archive gone; 85/100 after the desktop shortcuts; bar 100.
    JValue steps;
    ASSERT_TRUE(JValue::Parse(
        std::string("[[-1,50,0],[50,55,0],[55,60,0],[60,70,1],[70,85,0],[85,100,0],[100,-1,0]]"), steps));
    EXPECT_EQ(result.json["steps"], steps) << result.json["steps"].WriteCompact();
    EXPECT_EQ(WideFromUtf8(result.json["lastrun"].AsText()), Target(L"KestroGC.exe"));
    EXPECT_EQ(result.json["instrun"], config["instrun"]);

    // Companion programs were started, from the target folder.
    EXPECT_TRUE(WaitForFile(Target(L"tools\\opt.exe.args")));
    EXPECT_TRUE(WaitForFile(Target(L"tools\\run.exe.args")));
    EXPECT_EQ(ReadBytes(Target(L"tools\\opt.exe.args")), "instoptions\n");
    EXPECT_EQ(ReadBytes(Target(L"tools\\run.exe.args")), "instrun\n");

    // Every file with its bytes, every folder, nothing else but the uninstaller.
    EXPECT_EQ(ReadBytes(Target(L"res\\skin.png")), entries[2].data);
    EXPECT_EQ(ReadBytes(Target(L"res\\sub\\deep.txt")), entries[4].data);
    EXPECT_EQ(ReadBytes(Target(L"data\\a.txt")), entries[5].data);
    EXPECT_EQ(ReadBytes(Target(L"说明.txt")), "ANSI-named");
    EXPECT_EQ(ReadBytes(Target(L"文档\\readme.txt")), "UTF-8-named");
    EXPECT_EQ(TargetListing(), (std::vector<std::wstring>{L"KestroGC.exe",
                                                          L"data\\",
                                                          L"data\\a.txt",
                                                          L"deep\\",
                                                          L"deep\\er\\",
                                                          L"deep\\er\\still\\",
                                                          L"deep\\er\\still\\b.txt",
                                                          L"res\\",
                                                          L"res\\skin.png",
                                                          L"res\\sub\\",
                                                          L"res\\sub\\deep.txt",
                                                          L"tools\\",
                                                          L"tools\\opt.exe",
                                                          L"tools\\opt.exe.args",
                                                          L"tools\\run.exe",
                                                          L"tools\\run.exe.args",
                                                          L"unins000.exe",
                                                          L"文档\\",
                                                          L"文档\\readme.txt",
                                                          L"说明.txt"}));

    // The uninstall record: archive order, Base64 paths as stored, folder entries only.
    JValue record;
    ASSERT_TRUE(ReadConfigRecord(Target(L"unins000.exe"), record));
    EXPECT_EQ(record.MemberNames(), (std::vector<std::string>{"channel", "files", "folders", "mode", "setup"}));
    EXPECT_EQ(record["mode"].AsInt(), 0);
    EXPECT_EQ(record["channel"].AsInt(), 30123);
    EXPECT_EQ(record["setup"]["shortcut"], config["shortcut"]);
    EXPECT_EQ(record["setup"]["root"].AsText(), Encoded(target_));
    std::vector<std::wstring> files = {L"KestroGC.exe",    L"res/skin.png",        L"res/sub/deep.txt",
                                       L"data/a.txt",      L"deep/er/still/b.txt", L"说明.txt",
                                       L"文档/readme.txt", L"tools/opt.exe",       L"tools/run.exe"};
    ASSERT_EQ(record["files"].Size(), files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(record["files"].At(i).AsText(), Encoded(target_ + L"\\" + files[i])) << i;
    }
    ASSERT_EQ(record["folders"].Size(), 2u);
    EXPECT_EQ(record["folders"].At(0).AsText(), Encoded(target_ + L"\\res"));
    EXPECT_EQ(record["folders"].At(1).AsText(), Encoded(target_ + L"\\res/sub"));

    // The uninstaller is the installer's program image with the record as its payload,
    // and no checksum (the installer's covered the installer).
    std::string installer = ReadBytes(package);
    std::string uninstaller = ReadBytes(Target(L"unins000.exe"));
    uint32_t lfanew = ReadLe32(reinterpret_cast<const unsigned char*>(&installer[kLfanewPosition]));
    uint32_t image = ReadLe32(reinterpret_cast<const unsigned char*>(&installer[lfanew - 4]));
    const size_t checksum = lfanew + 24 + 64;
    EXPECT_EQ(uninstaller.compare(0, checksum, installer, 0, checksum), 0);
    EXPECT_EQ(uninstaller.compare(checksum + 4, image - checksum - 4, installer, checksum + 4, image - checksum - 4), 0);
    EXPECT_EQ(ReadLe32(reinterpret_cast<const unsigned char*>(&uninstaller[lfanew - 4])), image);
    EXPECT_EQ(uninstaller.size(), image + 4 + record.WriteCompact().size());
    DWORD stored = 1, computed = 0;
    ASSERT_EQ(MapFileAndCheckSumW(Target(L"unins000.exe").c_str(), &stored, &computed), DWORD(CHECKSUM_SUCCESS));
    EXPECT_EQ(stored, 0u);

    // Shortcuts: desktop (box checked), Quick Launch (not Windows 10), start menu.
    EXPECT_TRUE(Exists(CommonDesktopLink()));
    EXPECT_TRUE(Exists(QuickLaunchLink()));
    EXPECT_TRUE(Exists(StartMenuLinkPath()));
    EXPECT_TRUE(HasEveryoneEntry(target_));
}

TEST_F(WorkerTest, FreshInstallWritesTheRegistryTableInThe32BitView) {
    DriverResult result = Install(WritePackage(L"setup_1.0_partner.exe", StandardConfig(), StandardEntries()));
    ASSERT_EQ(result.Posted(), 0x8401);
    const std::wstring uninstall = kProductUninstallKey;
    std::wstring uninstaller = Target(L"unins000.exe");
    struct Expected {
        const wchar_t* name;
        std::wstring text;
    };
    for (const Expected& expected : {Expected{L"DisplayName", L"Kestro 模拟器"}, Expected{L"DisplayIcon", uninstaller},
                                     Expected{L"UninstallString", uninstaller},
                                     Expected{L"Publisher", L"Orvik网络技术有限公司"}, Expected{L"Lang", L"2052"}}) {
        RawValue value = ReadValue(HKEY_LOCAL_MACHINE, uninstall, expected.name);
        ASSERT_TRUE(value.present) << Utf8FromWide(expected.name);
        EXPECT_EQ(value.type, DWORD(REG_SZ));
        EXPECT_TRUE(value.EndsWithNul()) << Utf8FromWide(expected.name);
        EXPECT_EQ(value.Text(), expected.text);
    }
    EXPECT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, uninstall, L"HelpLink").EndsWithNul());
    RawValue channel = ReadValue(HKEY_LOCAL_MACHINE, uninstall, L"Channel");
    EXPECT_EQ(channel.type, DWORD(REG_DWORD));
    EXPECT_EQ(channel.Number(), 30123u);

    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kProductUserKey, L"Channel").Number(), 30123u);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kProductUserKey, L"Theme").Text(), L"orvik");
    RawValue appId = ReadValue(HKEY_CURRENT_USER, kProductUserKey, L"AppID");
    EXPECT_EQ(appId.Text(), L"partner");
    EXPECT_TRUE(appId.EndsWithNul());

    std::wstring lastrun = Target(L"KestroGC.exe");
    EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, L"gcapp", L"Url Protocol").Text(), L"URL:KestroGC Android Protocol");
    EXPECT_EQ(ReadValue(HKEY_CLASSES_ROOT, L"gcapp\\DefaultIcon", nullptr).Text(), lastrun + L",0");
    RawValue command = ReadValue(HKEY_CLASSES_ROOT, L"gcapp\\Shell\\open\\Command", nullptr);
    EXPECT_EQ(command.Text(), L"\"" + lastrun + L"\" \"%1\" -from oneclick");
    EXPECT_TRUE(command.EndsWithNul());
    RawValue warn = ReadValue(HKEY_CURRENT_USER, std::wstring(kProtocolExecuteKey) + L"\\gcapp", L"WarnOnOpen");
    EXPECT_EQ(warn.type, DWORD(REG_DWORD));
    EXPECT_EQ(warn.Number(), 0u);
}

}  // namespace
}  // namespace testing
}  // namespace kestro
