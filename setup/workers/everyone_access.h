#pragma once
#include <string>

namespace kestro {

// Adds an inheritable full-access entry for Everyone to the folder's DACL, unless an
// explicit Everyone entry is already there. Only on Vista and later; failures are
// silent (false). Paths of 260 characters or more are left alone
// (FitsGrantPathLimit).
bool GrantEveryoneFullAccess(const std::wstring& folder);

}  // namespace kestro
