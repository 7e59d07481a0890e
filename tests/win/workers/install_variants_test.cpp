#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "services/base/utf8.h"
#include "setup/workers/product_names.h"
#include "worker_test_support.h"

namespace kestro {
namespace testing {
namespace {

JValue ThemedConfig(const char* theme) {
    JValue config = WorkerTest::PlainConfig();
    config.Set("theme", theme);
    return config;
}

TEST_F(WorkerTest, InstallerNamesWithoutADotCarryNoAppId) {
    for (const wchar_t* name : {L"setup.exe", L"setup_v1.exe"}) {
        RemoveProductRegistry();
        DriverResult result = Install(WritePackage(name, ThemedConfig("default"), StandardEntries()));
        ASSERT_EQ(result.Posted(), 0x8401) << Utf8FromWide(name);
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kProductUserKey));
        EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kProductUserKey, L"AppID").present) << Utf8FromWide(name);
        EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kProductUninstallKey, L"Publisher").Text(),
                  L"Tarnwell科技股份有限公司");
        EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kProductUserKey, L"Theme").Text(), L"default");
    }
}

TEST_F(WorkerTest, ClearedDesktopBoxStillMakesTheStartMenuLinks) {
    DriverResult result =
        Install(WritePackage(L"setup.exe", ThemedConfig("quenta"), StandardEntries()), L"--no-desktop");
    ASSERT_EQ(result.Posted(), 0x8401);
    EXPECT_FALSE(Exists(CommonDesktopLink()));
    EXPECT_TRUE(Exists(StartMenuLinkPath()));
    EXPECT_TRUE(Exists(QuickLaunchLink()));
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kProductUninstallKey, L"Publisher").Text(), L"Quenta信息技术有限公司");
}

TEST_F(WorkerTest, ClearedQuickLaunchBoxMakesNoQuickLaunchLink) {
    DriverResult result =
        Install(WritePackage(L"setup.exe", ThemedConfig("default"), StandardEntries()), L"--no-quicklaunch");
    ASSERT_EQ(result.Posted(), 0x8401);
    ASSERT_NE(result.json["majorVersion"].AsInt(), 10);
    EXPECT_TRUE(Exists(CommonDesktopLink()));
    EXPECT_FALSE(Exists(QuickLaunchLink()));
}

// The prefix tells this one program it runs on Windows 10; its manifest declares
// Windows 10, so the version call reports 10.
TEST_F(WorkerTest, ASystemReportingVersion10GetsNoQuickLaunchLink) {
    const std::wstring appDefaults = L"Software\\Wine\\AppDefaults\\setup_win10.exe";
    SetTextValue(HKEY_CURRENT_USER, appDefaults, L"Version", L"win10");
    DriverResult result = Install(WritePackage(L"setup_win10.exe", ThemedConfig("default"), StandardEntries()));
    RegDeleteTreeW(HKEY_CURRENT_USER, appDefaults.c_str());
    ASSERT_EQ(result.Posted(), 0x8401);
    ASSERT_EQ(result.json["majorVersion"].AsInt(), 10);
    EXPECT_FALSE(Exists(QuickLaunchLink()));
    EXPECT_TRUE(Exists(CommonDesktopLink()));
    EXPECT_TRUE(Exists(StartMenuLinkPath()));
}

TEST_F(WorkerTest, InstallOverAnOlderInstallationRemovesItFirstAndKeepsTheUserKey) {
    JValue first = ThemedConfig("default");
    JValue commands = JValue::Array();
    commands.Append("tools/unrun.exe uninstrun");
    first.Set("uninstrun", commands);
    std::vector<ZipEntry> entries = StandardEntries();
    entries.push_back({"tools/unrun.exe", ReadBytes(BinFolder() + L"\\kestro_worker_fixture.exe")});
    ASSERT_EQ(Install(WritePackage(L"setup.exe", first, entries)).Posted(), 0x8401);

    ASSERT_TRUE(WriteBytes(Target(L"user.txt"), "made by the user"));
    SetNumberValue(HKEY_CURRENT_USER, kProductUserKey, L"Custom", 7);
    SetNumberValue(HKEY_LOCAL_MACHINE, kProductUninstallKey, L"Version", 4321);

    std::vector<ZipEntry> second = StandardEntries();
    second.erase(second.begin() + 5, second.begin() + 7);  // data/a.txt and deep/er/still/b.txt are gone
    second.push_back({"new.txt", "new in this version"});
    std::wstring package = WritePackage(L"setup_2.0.exe", ThemedConfig("default"), second);
    DriverResult result = Install(package);
    ASSERT_EQ(result.Posted(), 0x8401);
    EXPECT_EQ(result.json["operation"].AsInt(), 3);

    EXPECT_FALSE(Exists(Target(L"data\\a.txt")));
    EXPECT_FALSE(Exists(Target(L"deep")));
    EXPECT_TRUE(Exists(Target(L"new.txt")));
    EXPECT_EQ(ReadBytes(Target(L"user.txt")), "made by the user");
    // The older installation's uninstall commands belong to the user's uninstall only.
    EXPECT_FALSE(Exists(Target(L"tools\\unrun.exe.args")));
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kProductUserKey, L"Custom").Number(), 7u);
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kProductUninstallKey, L"Version").present);
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kProductUninstallKey, L"UninstallString").Text(), Target(L"unins000.exe"));
}

}  // namespace
}  // namespace testing
}  // namespace kestro
