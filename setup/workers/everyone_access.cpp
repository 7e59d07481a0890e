#include "setup/workers/everyone_access.h"

#include <windows.h>
#include <aclapi.h>

#include <memory>

#include "services/shell/system_version.h"
#include "services/win/unique_handle.h"
#include "setup/workers/install_plan.h"

namespace kestro {
namespace {

struct SidFreer {
    void operator()(PSID sid) const { FreeSid(sid); }
};

}  // namespace

bool GrantEveryoneFullAccess(const std::wstring& folder) {
    if (!IsVistaOrLater() || !FitsGrantPathLimit(folder)) return false;

    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID rawSid = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &rawSid)) return false;
    std::unique_ptr<void, SidFreer> everyone(rawSid);

    std::wstring path = folder;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR rawDescriptor = nullptr;
    if (GetNamedSecurityInfoW(path.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                              &rawDescriptor) != ERROR_SUCCESS) {
        return false;
    }
    UniqueLocal descriptor(rawDescriptor);

    ULONG count = 0;
    PEXPLICIT_ACCESS_W entries = nullptr;
    if (dacl && GetExplicitEntriesFromAclW(dacl, &count, &entries) == ERROR_SUCCESS) {
        UniqueLocal entryList(entries);
        for (ULONG i = 0; i < count; ++i) {
            const TRUSTEE_W& trustee = entries[i].Trustee;
            if (trustee.TrusteeForm == TRUSTEE_IS_SID && trustee.ptstrName &&
                EqualSid(reinterpret_cast<PSID>(trustee.ptstrName), everyone.get())) {
                return true;
            }
        }
    }

    EXPLICIT_ACCESS_W grant = {};
    grant.grfAccessPermissions = FILE_ALL_ACCESS;
    grant.grfAccessMode = GRANT_ACCESS;
    grant.grfInheritance = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    grant.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    grant.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    grant.Trustee.ptstrName = reinterpret_cast<LPWSTR>(everyone.get());
    PACL rawMerged = nullptr;
    if (SetEntriesInAclW(1, &grant, dacl, &rawMerged) != ERROR_SUCCESS) return false;
    UniqueLocal merged(rawMerged);
    return SetNamedSecurityInfoW(path.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, rawMerged,
                                 nullptr) == ERROR_SUCCESS;
}

}  // namespace kestro
