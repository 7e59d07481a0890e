#include "setup/workers/installed_items.h"

#include <algorithm>

#include "services/base/utf8.h"
#include "setup/package/package_records.h"
#include "setup/workers/entry_name_rules.h"
#include "setup/workers/install_root.h"

namespace kestro {
namespace {

std::vector<std::wstring> DecodeInside(const std::vector<std::string>& paths, const std::wstring& root,
                                       size_t& rejected) {
    std::vector<std::wstring> inside;
    for (const std::string& utf8 : paths) {
        std::wstring path = NormalPathForm(WideFromUtf8(utf8));
        if (IsStrictlyInsideRoot(path, root)) {
            inside.push_back(path);
        } else {
            ++rejected;
        }
    }
    return inside;
}

}  // namespace

std::wstring BackslashPath(const std::wstring& path) {
    std::wstring out = path;
    for (wchar_t& c : out) {
        if (c == L'/') c = L'\\';
    }
    return out;
}

bool IsAcceptableRoot(const std::wstring& root) {
    std::wstring normal;
    return AcceptInstallFolder(root, normal);
}

bool IsStrictlyInsideRoot(const std::wstring& path, const std::wstring& root) {
    std::wstring normalRoot;
    if (!AcceptInstallFolder(root, normalRoot)) return false;
    std::wstring prefix = normalRoot + L"\\";
    std::wstring candidate = NormalPathForm(path);
    if (candidate.size() <= prefix.size() || !SameNormalPath(candidate.substr(0, prefix.size()), prefix)) return false;
    return IsSafeRelativePath(candidate.substr(prefix.size()));
}

bool EntryAllowsRoot(const std::wstring& uninstallString, const std::wstring& root) {
    if (uninstallString.empty()) return true;
    std::wstring uninstaller = NormalPathForm(uninstallString);
    size_t cut = uninstaller.find_last_of(L'\\');
    std::wstring entryFolder;
    return cut != std::wstring::npos && AcceptInstallFolder(uninstaller.substr(0, cut), entryFolder) &&
           SameNormalPath(entryFolder, NormalPathForm(root));
}

std::vector<std::wstring> ParentFoldersBelowRoot(const std::vector<std::wstring>& files, const std::wstring& root) {
    std::vector<std::wstring> parents;
    for (const std::wstring& file : files) {
        std::wstring folder = BackslashPath(file);
        for (size_t cut = folder.find_last_of(L'\\'); cut != std::wstring::npos; cut = folder.find_last_of(L'\\')) {
            folder.erase(cut);
            if (!IsStrictlyInsideRoot(folder, root)) break;
            if (std::find(parents.begin(), parents.end(), folder) == parents.end()) parents.push_back(folder);
        }
    }
    std::stable_sort(parents.begin(), parents.end(),
                     [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); });
    return parents;
}

bool DecodeInstalledItems(const JValue& record, InstalledItems& out) {
    UninstallRecord uninstall{record};
    std::wstring root;
    if (!AcceptInstallFolder(WideFromUtf8(uninstall.Root()), root)) return false;
    InstalledItems items;
    items.root = root;
    items.files = DecodeInside(uninstall.Files(), root, items.rejected);
    items.folders = DecodeInside(uninstall.Folders(), root, items.rejected);
    out = items;
    return true;
}

}  // namespace kestro
