#pragma once
// The launcher's decisions, free of system calls: what a second start does,
// how the running window is brought forward, where the crash reporter lives.
#include <string>
#include <string_view>
#include <vector>

namespace kestro {

// Word comparison that ignores the case of ASCII letters.
bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b);

// A second start hands its command line over when it came from a gcapp link:
// at least four words, word 2 "-from" and word 3 "oneclick", in any case.
bool IsHandOverRequest(const std::vector<std::wstring_view>& words);

enum class Activation {
    None,        // no running window, or a full-screen program must not be disturbed
    Restore,     // minimised: WM_SYSCOMMAND / SC_RESTORE
    Lift,        // visible: topmost and back to non-topmost, which raises it
    ShowNormal,  // hidden: ShowWindow(SW_SHOWNORMAL)
};
Activation ChooseActivation(bool windowFound, bool fullScreenRunning, bool minimised, bool visible);

inline constexpr wchar_t kCrashReporterFile[] = L"crashpost.exe";

// The reporter beside the launcher: the launcher's file name at the end of its
// full path replaced by crashpost.exe. Empty when there is no file name to replace.
std::wstring ReporterPathFor(std::wstring_view fullPath, std::wstring_view fileName);

}  // namespace kestro
