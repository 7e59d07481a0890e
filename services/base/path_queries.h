#pragma once
// What a path names on disk, asked of the file system.
#include <string>

namespace kestro {

// Something (file or folder) exists at the path.
bool PathExists(const std::wstring& path);

// A folder exists at the path; a file of that name is not one.
bool FolderExists(const std::wstring& path);

}  // namespace kestro
