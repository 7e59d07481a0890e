#pragma once
#include <string>

namespace kestro {

// Paths of this many characters or more are left alone: the system call would see
// them cut short, which names another folder.
constexpr size_t kGrantPathLimit = 260;

// Adds an inheritable full-access entry for Everyone to the folder's DACL, unless an
// explicit Everyone entry is already there. Only on Vista and later; failures are
// silent (false).
bool GrantEveryoneFullAccess(const std::wstring& folder);

}  // namespace kestro
