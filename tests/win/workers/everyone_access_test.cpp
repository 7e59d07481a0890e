#include "setup/workers/everyone_access.h"

#include <windows.h>
#include <aclapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "services/win/unique_handle.h"
#include "setup/engine/shell_file_ops.h"
#include "worker_test_support.h"

namespace kestro {
namespace testing {
namespace {

// Takes the group and other permissions away from the folder's Unix side, from which
// Wine derives the folder's DACL: its Everyone entry goes. Wine starts a Unix program
// without a process handle to wait on, so the DACL is watched instead (bounded).
bool RemoveEveryoneThroughUnixPermissions(const std::wstring& folder) {
    typedef char*(CDECL * ToUnixName)(LPCWSTR);
    auto toUnix = reinterpret_cast<ToUnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unixName = toUnix ? toUnix(folder.c_str()) : nullptr;
    if (!unixName) return false;
    std::string command = std::string("/bin/chmod go-rwx \"") + unixName + "\"";
    HeapFree(GetProcessHeap(), 0, unixName);
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA("/bin/chmod", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
        return false;
    }
    UniqueHandle process(started.hProcess), thread(started.hThread);
    for (int tries = 0; tries < 250 && HasEveryoneEntry(folder); ++tries) Sleep(20);
    return !HasEveryoneEntry(folder);
}

// A default folder already holds an Everyone read entry, which the grant leaves alone;
// a folder without one gets the grant's entry. The 260-character rule is
// FitsGrantPathLimit's, tested natively.
TEST(EveryoneAccess, AFolderEndsUpWithAnEveryoneEntry) {
    std::wstring folder = L"C:\\kestro-grant-tests\\plain";
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    EXPECT_TRUE(GrantEveryoneFullAccess(folder));
    EXPECT_TRUE(HasEveryoneEntry(folder));
    EXPECT_FALSE(GrantEveryoneFullAccess(folder + L"\\missing"));

    std::wstring closed = L"C:\\kestro-grant-tests\\closed";
    SHCreateDirectoryExW(nullptr, closed.c_str(), nullptr);
    ASSERT_TRUE(RemoveEveryoneThroughUnixPermissions(closed));
    EXPECT_TRUE(GrantEveryoneFullAccess(closed));
    EXPECT_TRUE(HasEveryoneEntry(closed));
    DeleteFolderTree(L"C:\\kestro-grant-tests");
}

// The install grants its target folder, found here without an Everyone entry.
TEST_F(WorkerTest, AnInstallGrantsEveryoneItsFolder) {
    target_ = scratch_ + L"\\closed";
    ASSERT_TRUE(CreateDirectoryW(target_.c_str(), nullptr));
    ASSERT_TRUE(RemoveEveryoneThroughUnixPermissions(target_));
    ASSERT_EQ(Install(WritePackage(L"setup.exe", PlainConfig(), StandardEntries())).Posted(), 0x8401);
    EXPECT_TRUE(HasEveryoneEntry(target_));
}

}  // namespace
}  // namespace testing
}  // namespace kestro
