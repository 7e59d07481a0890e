#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <sstream>

#include "pack_command.h"
#include "setup/workers/utf8_path.h"
#include "worker_test_support.h"

namespace kestro {
namespace testing {
namespace {

// A product folder packed by kestro-pack, installed and uninstalled again.
TEST_F(WorkerTest, APackageBuiltByKestroPackInstallsAndUninstallsCompletely) {
    std::wstring product = scratch_ + L"\\product";
    std::vector<std::pair<std::wstring, std::string>> files = {
        {L"KestroGC.exe", ReadBytes(BinFolder() + L"\\kestro_worker_fixture.exe")},
        {L"res\\skin\\main.png", NoiseBytes(50000, 5)},
        {L"res\\说明.txt", "中文名的文件"},
        {L"lib\\mod.dll", ReadBytes(BinFolder() + L"\\kestro_fixture_module.dll")}};
    for (const auto& file : files) {
        std::wstring path = product + L"\\" + file.first;
        SHCreateDirectoryExW(nullptr, path.substr(0, path.find_last_of(L'\\')).c_str(), nullptr);
        WriteBytes(path, file.second);
    }
    JValue config = PlainConfig();
    std::wstring configFile = scratch_ + L"\\config.json";
    WriteBytes(configFile, config.WriteCompact());
    std::wstring package = scratch_ + L"\\setup_3.1_pack.exe";
    std::ostringstream out, err;
    ASSERT_EQ(
        RunKestroPack({"build", "--program", Utf8FromWide(BinFolder() + L"\\kestro_worker_driver.exe"), "--config",
                       Utf8FromWide(configFile), "--product", Utf8FromWide(product), "-o", Utf8FromWide(package)},
                      out, err),
        0)
        << err.str();

    DriverResult installed = Install(package);
    ASSERT_EQ(installed.Posted(), 0x8401);
    for (const auto& file : files) EXPECT_EQ(ReadBytes(Target(file.first)), file.second) << Utf8FromWide(file.first);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, L"SOFTWARE\\Tarnwell\\KestroGC", L"AppID").Text(), L"pack");

    ASSERT_EQ(Uninstall().Posted(), 0x8401);
    EXPECT_FALSE(Exists(Target()));
}

}  // namespace
}  // namespace testing
}  // namespace kestro
