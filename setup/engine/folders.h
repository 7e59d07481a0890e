#pragma once
#include <string>

#include <windows.h>

namespace kestro {

// Creates the folder with every missing parent; an existing folder is success, an
// existing file of that name is not.
bool EnsureFolder(const std::wstring& path);

// Shows the system folder picker (file-system folders only, edit box, new dialog
// style, empty title). `path` is emptied first and holds the choice; false when the
// user chose nothing. The new dialog style needs COM initialised on the calling thread.
bool BrowseForFolder(HWND owner, std::wstring& path);

// System folders; a folder that cannot be determined gives an empty text.
std::wstring GetTempFolder();          // ends with a separator
std::wstring GetModulePath();          // the running program
std::wstring GetAppDataFolder();       // CSIDL_APPDATA
std::wstring GetProgramFilesFolder();  // CSIDL_PROGRAM_FILES ("(x86)" for this 32-bit program on 64-bit systems)
std::wstring GetProgramsFolder();      // CSIDL_COMMON_PROGRAMS

}  // namespace kestro
