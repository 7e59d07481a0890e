#include "setup/workers/installed_items.h"

#include <algorithm>

#include "setup/package/package_records.h"
#include "setup/workers/entry_name_rules.h"
#include "setup/workers/utf8_path.h"

namespace kestro {
namespace {

wchar_t FoldAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool StartsWithFolded(const std::wstring& text, const std::wstring& prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (FoldAscii(text[i]) != FoldAscii(prefix[i])) return false;
    }
    return true;
}

std::wstring WithoutTrailingSeparators(std::wstring path) {
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

std::vector<std::wstring> DecodeInside(const std::vector<std::string>& paths, const std::wstring& root,
                                       size_t& rejected) {
    std::vector<std::wstring> inside;
    for (const std::string& utf8 : paths) {
        std::wstring path = BackslashPath(WideFromUtf8(utf8));
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
    std::wstring path = WithoutTrailingSeparators(BackslashPath(root));
    std::wstring below;
    if (path.size() > 3 && path[1] == L':' && path[2] == L'\\' &&
        ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'))) {
        below = path.substr(3);
    } else if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\') {
        // \\server\share must be followed by at least one folder of its own.
        size_t server = path.find(L'\\', 2);
        if (server == std::wstring::npos || server == 2) return false;
        size_t share = path.find(L'\\', server + 1);
        if (share == std::wstring::npos || share == server + 1) return false;
        if (!IsSafeRelativePath(path.substr(2, share - 2))) return false;
        below = path.substr(share + 1);
    } else {
        return false;
    }
    return IsSafeRelativePath(below);
}

bool IsStrictlyInsideRoot(const std::wstring& path, const std::wstring& root) {
    if (!IsAcceptableRoot(root)) return false;
    std::wstring prefix = WithoutTrailingSeparators(BackslashPath(root)) + L"\\";
    std::wstring candidate = BackslashPath(path);
    if (!StartsWithFolded(candidate, prefix)) return false;
    // An install into a root written with a trailing "\" stores a doubled separator.
    size_t start = prefix.size();
    while (start < candidate.size() && candidate[start] == L'\\') ++start;
    return IsSafeRelativePath(WithoutTrailingSeparators(candidate.substr(start)));
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
    std::wstring root = BackslashPath(WideFromUtf8(uninstall.Root()));
    if (root.empty() || !IsAcceptableRoot(root)) return false;
    InstalledItems items;
    items.root = root;
    items.files = DecodeInside(uninstall.Files(), root, items.rejected);
    items.folders = DecodeInside(uninstall.Folders(), root, items.rejected);
    out = items;
    return true;
}

}  // namespace kestro
