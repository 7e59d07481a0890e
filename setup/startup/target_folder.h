#pragma once
#include <functional>
#include <string>

namespace kestro {

// The product's folder below the chosen base folder.
extern const wchar_t kProductSubfolder[];  // "\Tarnwell\KestroGC"

// The folder part of a path: the text before its last "\" (empty without one).
std::wstring FolderPartOf(const std::wstring& path);

struct TargetFolderInputs {
    bool hasBaseFolder = false;
    std::wstring baseFolder;             // from "/D"
    std::wstring previousUninstaller;    // UninstallString of an older installation, or empty
    std::wstring programFilesFolder;     // CSIDL 38
    std::function<bool(const std::wstring&)> folderExists;
};

// "/D" base folder first, then the older installation's folder if it still exists and
// the install accepts it, then Program Files, each followed by the product's sub-folder
// where the rules say so. A folder the install accepts comes in its normal form.
std::wstring ChooseTargetFolder(const TargetFolderInputs& in);

}  // namespace kestro
