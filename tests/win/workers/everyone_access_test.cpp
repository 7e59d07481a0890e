#include "setup/workers/everyone_access.h"

#include <windows.h>
#include <aclapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "setup/engine/shell_file_ops.h"

namespace kestro {
namespace {

bool HasEveryoneEntry(const std::wstring& folder) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                              nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    bool found = false;
    for (DWORD i = 0; dacl && i < dacl->AceCount && !found; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (GetAce(dacl, i, reinterpret_cast<void**>(&ace)) && ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE) {
            found = EqualSid(&ace->SidStart, everyone);
        }
    }
    FreeSid(everyone);
    LocalFree(descriptor);
    return found;
}

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
}  // namespace kestro
