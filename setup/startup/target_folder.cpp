#include "target_folder.h"

namespace kestro {

const wchar_t kProductSubfolder[] = L"\\Tarnwell\\KestroGC";

std::wstring FolderPartOf(const std::wstring& path) {
    size_t cut = path.find_last_of(L'\\');
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

std::wstring ChooseTargetFolder(const TargetFolderInputs& in) {
    if (in.hasBaseFolder) return in.baseFolder + kProductSubfolder;
    if (!in.previousUninstaller.empty()) {
        std::wstring folder = FolderPartOf(in.previousUninstaller);
        if (!folder.empty() && in.folderExists && in.folderExists(folder)) return folder;
    }
    return in.programFilesFolder + kProductSubfolder;
}

}  // namespace kestro
