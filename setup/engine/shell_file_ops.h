#pragma once
#include <string>

namespace kestro {

// Shell copy, move and delete, always silent: no confirmation, no progress, no error
// window, no recycle bin. An existing destination is replaced.
bool CopyPath(const std::wstring& destination, const std::wstring& source);
bool MovePath(const std::wstring& destination, const std::wstring& source);

// Deletes a folder with everything in it. Refuses drive roots, relative paths and
// paths with wildcards (see IsDeletableFolderPath) without touching anything.
bool DeleteFolderTree(const std::wstring& path);

}  // namespace kestro
