#pragma once
#include <string>

namespace kestro {

// Decisions of the installer window that need no window: the browse result, the
// finish page's launch command, slide positions, progress. (Which folders an install
// accepts is the workers' rule, setup/workers/install_root.h.)

// Trims the chosen folder and appends the product's sub-folder, with or without a separator.
std::wstring FolderFromBrowseChoice(const std::wstring& chosen);

// The finish page's program and parameters: the last "/" starts the arguments, the
// character before it is where the program (quoted) ends and the parameters begin.
struct LaunchCommand {
    std::wstring program;
    std::wstring parameters;
};
LaunchCommand SplitLaunchCommand(const std::wstring& lastrun);

// Page positions in step k (0..10) of a slide: the page left and the page shown.
struct SlideStepPositions {
    int leavingX;
    int showingX;
};
constexpr int kSlideSteps = 11;
constexpr int kSlideStride = 50;
// The window's fixed size; the pages fill it below the title strip.
constexpr int kWindowWidth = 528;
constexpr int kWindowHeight = 348;
// Every page is placed at (0, kPageTop) in the window, kPageWidth x kPageHeight.
constexpr int kPageTop = 48;
constexpr int kPageWidth = kWindowWidth;
constexpr int kPageHeight = kWindowHeight - kPageTop;
SlideStepPositions SlideStep(int step, bool forward);

// One tick of the 100 ms progress timer: the value creeps by 1 toward the target.
int NextProgressValue(int value, int target);
inline bool ProgressTimerDone(int value) { return value >= 100; }

}  // namespace kestro
