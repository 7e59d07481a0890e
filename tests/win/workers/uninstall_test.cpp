#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "services/base/utf8.h"
#include "setup/package/package_records.h"
#include "setup/workers/install_plan.h"
#include "setup/workers/product_names.h"
#include "services/win/unique_handle.h"
#include "worker_test_support.h"

namespace kestro {
namespace testing {
namespace {

class UninstallTest : public WorkerTest {
protected:
    static constexpr const wchar_t* kEmulatorFolder = L"C:\\kestro-worker-tests\\avm";

    // An installation of the standard package; with companions, its record also runs
    // tools/unrun.exe on uninstall.
    void InstallProduct(bool withCompanions) {
        JValue config = StandardConfig();
        if (!withCompanions) {
            config.Remove("instoptions");
            config.Remove("instrun");
        } else {
            JValue commands = JValue::Array();
            commands.Append("tools/unrun.exe uninstrun");
            config.Set("uninstrun", commands);
        }
        std::vector<ZipEntry> entries = StandardEntries();
        entries.push_back({"tools/unrun.exe", ReadBytes(BinFolder() + L"\\kestro_worker_fixture.exe")});
        ASSERT_EQ(Install(WritePackage(L"setup.exe", config, entries)).Posted(), 0x8401);
        if (withCompanions) {
            ASSERT_TRUE(WaitForFile(Target(L"tools\\opt.exe.args")));
            ASSERT_TRUE(WaitForFile(Target(L"tools\\run.exe.args")));
        }
    }

    // A fake emulator uninstaller that records its arguments, registered as the
    // emulator's. The emulator's UninstallString is read into 100 characters: kept short.
    std::wstring RegisterEmulator() {
        CreateDirectoryW(kEmulatorFolder, nullptr);
        std::wstring uninstaller = std::wstring(kEmulatorFolder) + L"\\uninst.exe";
        DeleteFileW((uninstaller + L".args").c_str());
        EXPECT_TRUE(WriteBytes(uninstaller, ReadBytes(BinFolder() + L"\\kestro_worker_fixture.exe")));
        SetTextValue(HKEY_LOCAL_MACHINE, kEmulatorUninstallKey, L"UninstallString", uninstaller);
        return uninstaller + L".args";
    }
};

TEST_F(UninstallTest, RemovesWhatTheInstallMadeAndKeepsTheUsersFiles) {
    InstallProduct(true);
    ASSERT_TRUE(WriteBytes(Target(L"data\\user.txt"), "kept"));
    DriverResult result = Uninstall(L"--reason 1 --reason 3 --text 太慢了");
    ASSERT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.Posted(), 0x8401);
    EXPECT_EQ(result.json["operation"].AsInt(), 2);
    EXPECT_EQ(result.json["bar"].AsInt(), 100);
    EXPECT_EQ(result.json["target"].AsInt(), 100);
    // [bar, target, temporary archives]: target 20; bar 20, target 50 at the shortcuts;
    // 50/100 at the files; bar 100 at the registry.
    JValue steps;
    ASSERT_TRUE(JValue::Parse(std::string("[[-1,20,0],[20,50,0],[50,100,0],[100,-1,0]]"), steps));
    EXPECT_EQ(result.json["steps"], steps) << result.json["steps"].WriteCompact();
    EXPECT_EQ(WideFromUtf8(result.json["status"].AsText()), L"正在清理注册表...");
    // The record's uninstall command ran, and was waited for, before the files went.
    EXPECT_EQ(ReadBytes(Target(L"tools\\unrun.exe.args")), "uninstrun\n");

    // Recorded files and folder entries are gone; folders that only held recorded
    // files go when empty; "data" stays with the user's file, and so does the root.
    EXPECT_EQ(TargetListing(),
              (std::vector<std::wstring>{L"data\\", L"data\\user.txt", L"tools\\", L"tools\\opt.exe.args",
                                         L"tools\\run.exe.args", L"tools\\unrun.exe.args"}));
    EXPECT_FALSE(Exists(CommonDesktopLink()));
    EXPECT_FALSE(Exists(QuickLaunchLink()));
    EXPECT_FALSE(Exists(StartMenuFolder(SpecialFolder(CSIDL_COMMON_PROGRAMS))));

    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProductUserKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kProtocolKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, std::wstring(kProtocolExecuteKey) + L"\\gcapp"));
}

TEST_F(UninstallTest, RemovesTheRootWhenNothingElseIsLeftInIt) {
    InstallProduct(false);
    ASSERT_TRUE(Exists(Target(L"unins000.exe")));
    DriverResult result = Uninstall();
    ASSERT_EQ(result.Posted(), 0x8401);
    EXPECT_FALSE(Exists(Target()));
}

TEST_F(UninstallTest, AProgramRunningFromTheInstallationIsStoppedAndItsFileDeleted) {
    InstallProduct(false);
    UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, L"kestro-worker-running-launcher"));
    std::wstring line = L"\"" + Target(L"KestroGC.exe") + L"\" wait kestro-worker-running-launcher";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started));
    UniqueHandle launcher(started.hProcess);
    UniqueHandle thread(started.hThread);
    ASSERT_EQ(WaitForSingleObject(ready.get(), 10000), WAIT_OBJECT_0);
    DriverResult result = Uninstall();
    EXPECT_EQ(result.Posted(), 0x8401);
    EXPECT_EQ(WaitForSingleObject(launcher.get(), 0), WAIT_OBJECT_0);
    EXPECT_FALSE(Exists(Target(L"KestroGC.exe")));
    TerminateProcess(launcher.get(), 0);
}

TEST_F(UninstallTest, TheEmulatorIsLeftAloneWhenItsBoxIsCleared) {
    InstallProduct(false);
    std::wstring recorded = RegisterEmulator();
    ASSERT_EQ(Uninstall().Posted(), 0x8401);
    EXPECT_FALSE(Exists(recorded));
}

TEST_F(UninstallTest, TheEmulatorKeepsItsDataUnlessThatBoxIsChecked) {
    InstallProduct(false);
    std::wstring recorded = RegisterEmulator();
    ASSERT_EQ(Uninstall(L"--emulator").Posted(), 0x8401);
    // Waited for: its record exists as soon as the uninstall is over.
    EXPECT_EQ(ReadBytes(recorded), "/ureservedata\n");
}

TEST_F(UninstallTest, EmulatorChannel28012RemovesTheEmulatorWithItsData) {
    InstallProduct(false);
    std::wstring recorded = RegisterEmulator();
    SetNumberValue(HKEY_CURRENT_USER, kEmulatorUserKey, L"Channel", 28012);
    std::wstring data = SpecialFolder(CSIDL_APPDATA) + kProductDataTail;
    SHCreateDirectoryExW(nullptr, data.c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(data + L"\\game.sav", "save"));
    std::wstring downloads = scratch_ + L"\\downloads";
    SHCreateDirectoryExW(nullptr, (downloads + L"\\APK").c_str(), nullptr);
    SHCreateDirectoryExW(nullptr, (downloads + L"\\Emulator").c_str(), nullptr);
    SHCreateDirectoryExW(nullptr, (downloads + L"\\Other").c_str(), nullptr);
    SetTextValue(HKEY_CURRENT_USER, kProductUserKey, L"DownloadPath", downloads);

    ASSERT_EQ(Uninstall(L"--emulator-default").Posted(), 0x8401);
    EXPECT_EQ(ReadBytes(recorded), "/udeletedata\n");
    EXPECT_FALSE(Exists(data));
    EXPECT_FALSE(Exists(downloads + L"\\APK"));
    EXPECT_FALSE(Exists(downloads + L"\\Emulator"));
    EXPECT_TRUE(Exists(downloads + L"\\Other"));
}

// An uninstaller whose record was edited to name things outside its root.
TEST_F(UninstallTest, ATamperedRecordCannotDeleteAnythingOutsideItsRoot) {
    std::wstring outsideFile = scratch_ + L"\\victim.txt";
    std::wstring outsideFolder = scratch_ + L"\\victim";
    ASSERT_TRUE(WriteBytes(outsideFile, "not the product's"));
    CreateDirectoryW(outsideFolder.c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(outsideFolder + L"\\inside.txt", "not the product's"));
    CreateDirectoryW(Target().c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(Target(L"product.txt"), "the product's"));

    JValue record = JValue::Object();
    record.Set("mode", 0);
    record.Set("channel", 30001);
    JValue setup = JValue::Object();
    setup.Set("root", UninstallRecord::EncodePath(Utf8FromWide(target_)));
    setup.Set("shortcut", JValue::Object());
    record.Set("setup", setup);
    JValue files = JValue::Array();
    files.Append(UninstallRecord::EncodePath(Utf8FromWide(Target(L"product.txt"))));
    files.Append(UninstallRecord::EncodePath(Utf8FromWide(outsideFile)));
    files.Append(UninstallRecord::EncodePath(Utf8FromWide(Target(L"..\\victim.txt"))));
    record.Set("files", files);
    JValue folders = JValue::Array();
    folders.Append(UninstallRecord::EncodePath(Utf8FromWide(outsideFolder)));
    folders.Append(UninstallRecord::EncodePath(Utf8FromWide(Target(L"..\\victim"))));
    folders.Append(UninstallRecord::EncodePath(Utf8FromWide(target_)));
    record.Set("folders", folders);

    std::string image = ReadBytes(BinFolder() + L"\\kestro_worker_driver.exe");
    std::string uninstaller = MakePackage(image, record.WriteCompact(), "");
    uninstaller.resize(uninstaller.size() - 4);  // an uninstaller has no archive part
    std::wstring program = scratch_ + L"\\tampered.exe";
    ASSERT_TRUE(WriteBytes(program, uninstaller));
    ASSERT_TRUE(WriteBytes(Target(L"user.txt"), "kept"));

    DriverResult result = Run(program, L"");
    EXPECT_EQ(result.Posted(), 0x8401);
    EXPECT_FALSE(Exists(Target(L"product.txt")));
    EXPECT_TRUE(Exists(Target(L"user.txt")));
    EXPECT_TRUE(Exists(outsideFile));
    EXPECT_TRUE(Exists(outsideFolder + L"\\inside.txt"));
}

TEST_F(UninstallTest, AnUninstallerWithoutARecordFails) {
    std::wstring program = scratch_ + L"\\norecord.exe";
    ASSERT_TRUE(WriteBytes(program, ReadBytes(BinFolder() + L"\\kestro_worker_driver.exe")));
    EXPECT_EQ(Run(program, L"").exitCode, 3u);
}

}  // namespace
}  // namespace testing
}  // namespace kestro
