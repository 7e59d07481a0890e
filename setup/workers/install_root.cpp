#include "setup/workers/install_root.h"

#include <vector>

#include "setup/workers/entry_name_rules.h"

namespace kestro {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

wchar_t FoldAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

std::vector<std::wstring> NonEmptyComponents(const std::wstring& text, size_t from) {
    std::vector<std::wstring> components;
    size_t start = from;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && !IsSeparator(text[end])) ++end;
        if (end > start) components.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return components;
}

}  // namespace

std::wstring NormalPathForm(const std::wstring& path) {
    size_t leading = 0;
    while (leading < path.size() && IsSeparator(path[leading])) ++leading;
    std::wstring prefix;
    // Components of the root ("X:", or the server and share) are never dropped.
    size_t rootComponents = 0;
    if (leading == 2) {
        prefix = L"\\\\";
        rootComponents = 2;
    } else if (leading > 0) {
        // One separator, or more than the two of a share name: below the current drive.
        prefix = L"\\";
    } else if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2])) {
        rootComponents = 1;
    }
    std::vector<std::wstring> components = NonEmptyComponents(path, leading);
    std::wstring normal = prefix;
    size_t kept = 0;
    for (size_t i = 0; i < components.size(); ++i) {
        if (i >= rootComponents && components[i] == L".") continue;
        if (kept++ > 0) normal += L'\\';
        normal += components[i];
    }
    // A drive root keeps its separator: "C:" alone names the drive's current folder.
    if (rootComponents == 1 && kept == 1) normal += L'\\';
    return normal;
}

bool AcceptInstallFolder(const std::wstring& folder, std::wstring& normal) {
    std::wstring form = NormalPathForm(folder);
    bool accepted = false;
    if (form.size() > 3 && IsDriveLetter(form[0]) && form[1] == L':' && form[2] == L'\\') {
        accepted = IsSafeRelativePath(form.substr(3));
    } else if (form.size() > 2 && form[0] == L'\\' && form[1] == L'\\') {
        size_t server = form.find(L'\\', 2);
        size_t share = server == std::wstring::npos ? server : form.find(L'\\', server + 1);
        // \\server\share must be followed by at least one folder of its own.
        accepted = share != std::wstring::npos && IsSafeRelativePath(form.substr(2, share - 2)) &&
                   IsSafeRelativePath(form.substr(share + 1));
    }
    if (accepted) normal = form;
    return accepted;
}

bool SameNormalPath(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

}  // namespace kestro
