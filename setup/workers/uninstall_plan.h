#pragma once
// The uninstall's fixed decisions that need no system.
#include <string>
#include <vector>

namespace kestro {

// Programs stopped before the installed files are deleted, in this order.
extern const wchar_t* const kProgramsStoppedBeforeDelete[6];

// Number of reason boxes on the reason page; box i reports code i + 1.
constexpr int kReasonCount = 5;

// Codes 1 to 5 of the checked boxes, in box order.
std::vector<int> CheckedReasonCodes(const bool (&boxes)[kReasonCount]);

// The emulator uninstaller's command: its path in quotation marks, then
// /udeletedata (game data goes too) or /ureservedata.
std::wstring EmulatorUninstallCommand(const std::wstring& uninstallerPath, bool deleteData);

// "%s\APK" and "%s\Emulator" of the download folder, every doubled "\" made single.
std::vector<std::wstring> EmulatorDownloadFolders(const std::wstring& downloadFolder);

// Files whose owners are looked for before deletion: ".exe" and ".dll", any case.
bool IsProgramOrLibrary(const std::wstring& path);

// The leading decimal number of a version text such as "1234.5"; 0 when it has none.
int LeadingBuildNumber(const std::wstring& text);

}  // namespace kestro
