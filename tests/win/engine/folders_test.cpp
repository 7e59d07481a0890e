#include "setup/engine/folders.h"

#include <gtest/gtest.h>

#include <thread>

#include "engine_test_support.h"

namespace kestro {
namespace {

using test::IsFolder;
using test::ScratchFolder;

bool EndsWith(const std::wstring& s, const std::wstring& tail) {
    return s.size() >= tail.size() && _wcsicmp(s.c_str() + s.size() - tail.size(), tail.c_str()) == 0;
}

TEST(EnsureFolder, CreatesMissingParentsAndAcceptsAnExistingFolder) {
    ScratchFolder folder;
    std::wstring deep = folder / L"a\\中文\\c";
    EXPECT_TRUE(EnsureFolder(deep));
    EXPECT_TRUE(IsFolder(deep));
    EXPECT_TRUE(EnsureFolder(deep));
}

TEST(EnsureFolder, FailsBelowAFileAndWhereAFileHasTheName) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder / L"file", "x"));
    EXPECT_FALSE(EnsureFolder(folder / L"file\\sub"));
    EXPECT_FALSE(EnsureFolder(folder / L"file"));
}

TEST(SystemFolders, AreAbsoluteExistingFolders) {
    std::wstring temp = GetTempFolder();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), L'\\');
    EXPECT_TRUE(IsFolder(temp));
    EXPECT_TRUE(EndsWith(GetModulePath(), L"\\win_engine_tests.exe")) << GetModulePath();
    EXPECT_TRUE(EndsWith(GetAppDataFolder(), L"\\AppData\\Roaming")) << GetAppDataFolder();
    EXPECT_TRUE(EndsWith(GetProgramsFolder(), L"\\Start Menu\\Programs")) << GetProgramsFolder();
    // A 32-bit program sees the 32-bit program folder.
    std::wstring programs = GetProgramFilesFolder();
    EXPECT_TRUE(EndsWith(programs, L"\\Program Files (x86)") || EndsWith(programs, L"\\Program Files")) << programs;
    EXPECT_TRUE(IsFolder(programs));
}

TEST(BrowseForFolder, CancellingThePickerGivesNoPath) {
    ScopedCom com;
    // Cancels the picker once it shows up (bounded).
    std::thread canceller([] {
        for (int i = 0; i < 100; ++i) {
            HWND picker = FindWindowW(L"#32770", nullptr);
            if (picker) {
                PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
                return;
            }
            Sleep(100);
        }
    });
    std::wstring path = L"previous";
    EXPECT_FALSE(BrowseForFolder(nullptr, path));
    EXPECT_TRUE(path.empty());
    canceller.join();
}

}  // namespace
}  // namespace kestro
