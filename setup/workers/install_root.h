#pragma once
// The one form of an install folder and the rule that accepts it. The install takes a
// target folder through this rule (from /D, the path box, the browse button or the
// previous installation's entry) and the uninstaller takes its recorded root through
// the same rule, so every folder an install accepts is one its uninstaller removes.
#include <string>

namespace kestro {

// "/" turned into "\", repeated separators made one (the two that open a share name
// stay), "." components after the drive or share and a trailing separator dropped.
// Nothing else changes: ".." is kept for the rule to refuse.
std::wstring NormalPathForm(const std::wstring& path);

// True, with `normal` set to the normal form, when an install may use the folder: a
// folder below a drive ("X:\name...") or a share ("\\server\share\name...") whose
// components hold no ".." and nothing Windows would store under another name.
// False for an empty, relative or drive-relative text and for a drive or share root.
bool AcceptInstallFolder(const std::wstring& folder, std::wstring& normal);

// Case-insensitive (ASCII letters) equality of two normal forms.
bool SameNormalPath(const std::wstring& a, const std::wstring& b);

}  // namespace kestro
