#include "setup/engine/processes.h"

#include <gtest/gtest.h>

#include "engine_test_support.h"

namespace kestro {
namespace {

using test::HelperProcess;
using test::ScratchFolder;

// A copy of the helper under a name no other process has.
std::wstring UniqueHelperCopy(const ScratchFolder& folder, const std::wstring& name) {
    std::wstring path = folder / name;
    EXPECT_TRUE(CopyFileW(test::HelperProgram().c_str(), path.c_str(), FALSE));
    return path;
}

TEST(FindProcessUsingFile, FindsAProcessByItsExecutableName) {
    ScratchFolder folder;
    std::wstring name = test::UniqueName(L"kfx") + L".exe";
    std::wstring program = UniqueHelperCopy(folder, name);
    HelperProcess helper;
    ASSERT_TRUE(helper.Start(program, L"wait", true));
    std::wstring toStop;
    ASSERT_TRUE(FindProcessUsingFile(program, toStop));
    EXPECT_EQ(toStop, program);
    // Case does not matter, and a bare name matches by executable name.
    std::wstring upper = name;
    for (auto& c : upper) c = towupper(c);
    ASSERT_TRUE(FindProcessUsingFile(upper, toStop));
    EXPECT_EQ(toStop, upper);
}

TEST(FindProcessUsingFile, FindsAProcessThatLoadedTheModule) {
    ScratchFolder folder;
    std::wstring loaderName = test::UniqueName(L"kfxload") + L".exe";
    std::wstring loader = UniqueHelperCopy(folder, loaderName);
    std::wstring module = folder / (test::UniqueName(L"kfxmod") + L".dll");
    ASSERT_TRUE(CopyFileW(test::HelperModule().c_str(), module.c_str(), FALSE));
    std::wstring toStop;
    EXPECT_FALSE(FindProcessUsingFile(module, toStop));
    HelperProcess helper;
    ASSERT_TRUE(helper.Start(loader, L"load \"" + module + L"\"", true));
    ASSERT_TRUE(FindProcessUsingFile(module, toStop));
    EXPECT_TRUE(_wcsicmp(toStop.c_str(), loaderName.c_str()) == 0) << toStop;
}

TEST(FindProcessUsingFile, UnusedFilesAndEmptyNamesAreNotFound) {
    ScratchFolder folder;
    std::wstring toStop = L"unchanged";
    EXPECT_FALSE(FindProcessUsingFile(folder / (test::UniqueName(L"nobody") + L".exe"), toStop));
    EXPECT_FALSE(FindProcessUsingFile(folder.Path() + L"\\", toStop));
    EXPECT_FALSE(FindProcessUsingFile(L"", toStop));
    EXPECT_EQ(toStop, L"unchanged");
}

TEST(KillProcessesByName, TerminatesEveryProcessOfThatNameWithExitCodeZero) {
    ScratchFolder folder;
    std::wstring name = test::UniqueName(L"kfxkill") + L".exe";
    std::wstring program = UniqueHelperCopy(folder, name);
    HelperProcess first, second;
    ASSERT_TRUE(first.Start(program, L"wait", true));
    ASSERT_TRUE(second.Start(program, L"wait", true));
    KillProcessesByName(L"C:\\elsewhere\\" + name);
    DWORD code = 1;
    EXPECT_TRUE(first.WaitEnded(5000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(second.WaitEnded(5000, &code));
    EXPECT_EQ(code, 0u);
}

TEST(KillProcessesByName, NeverTerminatesTheCallingProcess) {
    ScratchFolder folder;
    std::wstring self = GetModulePath();
    std::wstring name = self.substr(self.find_last_of(L'\\') + 1);
    // Another process with this program's own name is still terminated.
    std::wstring twin = UniqueHelperCopy(folder, name);
    HelperProcess other;
    ASSERT_TRUE(other.Start(twin, L"wait", true));
    KillProcessesByName(name);
    EXPECT_TRUE(other.WaitEnded(5000));
}

}  // namespace
}  // namespace kestro
