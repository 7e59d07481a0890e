#include "page_rules.h"

#include "setup/engine/path_rules.h"
#include "setup/startup/target_folder.h"

namespace kestro {

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
