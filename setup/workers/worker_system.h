#pragma once
// Small system look-ups shared by the install and uninstall workers.
#include <string>

namespace kestro {

// Major version as the system reports it to this program (GetVersionEx: a program
// whose manifest does not declare Windows 10 is told 6.2 there).
unsigned ReportedMajorVersion();

// The product's data folder: below the user's application data when that exists,
// otherwise below the all-users application data. Not created.
std::wstring ProductDataFolder();

// UninstallString of the product's uninstall entry (HKLM, read into 520 characters), or
// empty when there is no entry.
std::wstring ReadProductUninstallString();

// Every "%s\unins000.exe"-style path of the product joined with one backslash.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

}  // namespace kestro
