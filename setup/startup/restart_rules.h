#pragma once
#include <string>

namespace kestro {

// Start-up's restart decisions, kept apart from the token and file calls that feed
// them so they can be driven without a limited token or an 8.3 temporary folder.

// A limited token whose linked (full) token belongs to the Administrators group is an
// administrator behind the consent prompt: start-up restarts itself elevated. Only on
// NT 6 or later; a plain user goes on unelevated.
bool ShouldRelaunchElevated(bool ntSixOrLater, bool limitedElevationType, bool linkedTokenIsAdmin);

// The uninstaller's work copy: the temporary folder (with its trailing separator)
// followed by "KestroGC\unins000.exe"; the copy keeps the uninstaller's file name
// (kUninstallerFileName, setup/workers/product_names.h).
extern const wchar_t kWorkCopyFolderName[];  // "KestroGC"
std::wstring WorkCopyFolder(const std::wstring& tempFolder);
std::wstring WorkCopyPath(const std::wstring& tempFolder);

// Whether two paths name the same file, compared case-insensitively. Callers pass the
// long forms of both, so a short (8.3) temporary folder still matches its copy.
bool SamePathIgnoringCase(const std::wstring& a, const std::wstring& b);

}  // namespace kestro
