#include "target_folder.h"

#include "setup/workers/install_root.h"

namespace kestro {
namespace {

// The normal form of a folder the install accepts; any other text stays as it is, for
// the install to refuse when it starts.
std::wstring NormalWhenAccepted(const std::wstring& folder) {
    std::wstring normal;
    return AcceptInstallFolder(folder, normal) ? normal : folder;
}

}  // namespace

const wchar_t kProductSubfolder[] = L"\\Tarnwell\\KestroGC";

std::wstring FolderPartOf(const std::wstring& path) {
    size_t cut = path.find_last_of(L'\\');
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

std::wstring ChooseTargetFolder(const TargetFolderInputs& in) {
    if (in.hasBaseFolder) return NormalWhenAccepted(in.baseFolder + kProductSubfolder);
    if (!in.previousUninstaller.empty()) {
        // Only a folder an install accepts: one outside the rule could not be removed again.
        std::wstring folder;
        if (AcceptInstallFolder(FolderPartOf(NormalPathForm(in.previousUninstaller)), folder) && in.folderExists &&
            in.folderExists(folder)) {
            return folder;
        }
    }
    return NormalWhenAccepted(in.programFilesFolder + kProductSubfolder);
}

}  // namespace kestro
