// What KestroGC.exe carries: its version strings and its manifest.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "services/win/unique_handle.h"
#include "tests/win/launcher/launcher_harness.h"

namespace kestro::test {
namespace {

std::wstring VersionString(const std::string& block, const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT chars = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
    if (!VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &chars) || !value) return L"?";
    return value;
}

TEST(LauncherResources, VersionResourceCarriesTheNumbersPassedToTheOutsideLibraries) {
    const std::wstring exe = BinFolder() + L"\\KestroGC.exe";
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));
    EXPECT_EQ(VersionString(block, L"FileVersion"), L"2.1.4.7");
    EXPECT_EQ(VersionString(block, L"ProductVersion"), L"3134");
    EXPECT_EQ(VersionString(block, L"PrivateBuild"), L"2147");
    EXPECT_EQ(VersionString(block, L"FileDescription"), L"Kestro 模拟器");
    EXPECT_EQ(VersionString(block, L"ProductName"), L"Kestro 模拟器");

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT bytes = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &bytes));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00040007u);
}

TEST(LauncherResources, ManifestRunsAsInvokerAndDeclaresVistaToWindows10) {
    const std::wstring exe = BinFolder() + L"\\KestroGC.exe";
    UniqueModule module(LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module);
    HRSRC found = FindResourceW(module.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr);
    const char* data = static_cast<const char*>(LockResource(LoadResource(module.get(), found)));
    ASSERT_NE(data, nullptr);
    const std::string manifest(data, SizeofResource(module.get(), found));
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    for (const char* os : {"e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                           "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                           "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) {
        EXPECT_NE(manifest.find(os), std::string::npos) << os;
    }
}

}  // namespace
}  // namespace kestro::test
