#include "page_rules.h"

#include "setup/engine/path_rules.h"
#include "setup/startup/target_folder.h"

namespace kestro {

size_t PathRootLength(const std::wstring& path) {
    auto isSep = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    if (path.size() >= 2 && isSep(path[0]) && isSep(path[1])) {
        // \\server\share\ : the root runs through the share name's separator.
        size_t server = path.find_first_of(L"\\/", 2);
        if (server == std::wstring::npos || server == 2) return 0;
        size_t share = path.find_first_of(L"\\/", server + 1);
        if (share == server + 1) return 0;
        return share == std::wstring::npos ? path.size() : share + 1;
    }
    if (!path.empty() && isSep(path[0])) return 1;
    bool driveLetter = path.size() >= 2 && path[1] == L':' &&
                       ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
    if (driveLetter && path.size() >= 3 && isSep(path[2])) return 3;
    return 0;
}

bool IsAcceptableInstallFolder(const std::wstring& path) { return !path.empty() && PathRootLength(path) > 1; }

std::wstring FolderFromBrowseChoice(const std::wstring& chosen) {
    std::wstring folder = TrimBlanks(chosen);
    if (!folder.empty() && folder.back() == L'\\') return folder + (kProductSubfolder + 1);
    return folder + kProductSubfolder;
}

LaunchCommand SplitLaunchCommand(const std::wstring& lastrun) {
    size_t slash = lastrun.rfind(L'/');
    if (slash == std::wstring::npos || slash == 0) return {lastrun, std::wstring()};
    return {L"\"" + lastrun.substr(0, slash - 1) + L"\"", lastrun.substr(slash - 1)};
}

SlideStepPositions SlideStep(int step, bool forward) {
    int moved = kSlideStride * step;
    if (forward) return {-moved, kPageWidth - moved};
    return {moved, moved - kPageWidth};
}

int NextProgressValue(int value, int target) { return value < target ? value + 1 : value; }

}  // namespace kestro
