#pragma once
// The install's fixed decisions that need no system: progress steps, where shortcuts
// and links point, and when the taskbar step is left out.
#include <string>

namespace kestro {

// Progress bar value and the target the window's timer creeps toward; -1 leaves it as is.
struct ProgressStep {
    int bar;
    int target;
};

enum class InstallStage {
    Started,         // before an older installation is looked for
    OlderRemoved,    // the older installation is gone (or there was none)
    InstallerRead,   // the installer file is in memory
    ArchiveWritten,  // the temporary archive is on disk
    Extracted,       // every entry is in place
    DesktopDone,     // desktop shortcuts made
    Registered,      // registry written, just before the report
};

ProgressStep InstallProgress(InstallStage stage);

enum class UninstallStage {
    Started,
    Shortcuts,  // shortcuts and links are removed next
    Files,      // installed files are deleted next
    Registry,   // the registry is cleaned next
};

ProgressStep UninstallProgress(UninstallStage stage);

// Quick Launch shortcuts and taskbar pins are left out on systems reporting major
// version 10: the quick-launch bar is gone and pinning by verb no longer exists there.
// The custom page hides its quick-launch box by the same rule.
bool SkipsTaskbarStep(unsigned majorVersion);

// Whether the Everyone grant may run on a folder path: not empty and under 260
// characters; the system call would see a longer path cut short, naming another folder.
bool FitsGrantPathLimit(const std::wstring& folder);

// Target folder + "\" + the shortcut item's "file" with every "/" turned into "\".
std::wstring ShortcutTargetPath(const std::wstring& targetFolder, const std::wstring& file);

// Target folder + "\" + the record's "lastrun" exactly as stored.
std::wstring LastrunPath(const std::wstring& targetFolder, const std::wstring& lastrun);

// "%s\Tarnwell\Kestro 模拟器" below the start menu's Programs folder, and one link in it.
std::wstring StartMenuFolder(const std::wstring& programsFolder);
std::wstring StartMenuLink(const std::wstring& programsFolder, const std::wstring& name);

}  // namespace kestro
