#include "setup/workers/everyone_access.h"

#include <windows.h>
#include <aclapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "setup/engine/shell_file_ops.h"
#include "worker_test_support.h"

namespace kestro {
namespace testing {
namespace {

// Wine derives a folder's DACL from its Unix permissions, Everyone included, and
// keeps no DACL of its own: the merge itself cannot be observed here, only that the
// grant reads the folder's DACL, finds Everyone and succeeds. The 260-character
// rule is FitsGrantPathLimit's, tested natively.
TEST(EveryoneAccess, AFolderEndsUpWithAnEveryoneEntry) {
    std::wstring folder = L"C:\\kestro-grant-tests\\plain";
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    EXPECT_TRUE(GrantEveryoneFullAccess(folder));
    EXPECT_TRUE(HasEveryoneEntry(folder));
    EXPECT_FALSE(GrantEveryoneFullAccess(folder + L"\\missing"));
    DeleteFolderTree(L"C:\\kestro-grant-tests");
}

}  // namespace
}  // namespace testing
}  // namespace kestro
