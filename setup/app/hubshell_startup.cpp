// Start-up inside the window's creation: elevation, the package record, the
// uninstaller's work copy, the switches, the skin, the shadows, the target folder and
// the pages; a quiet run then does its operation here and ends.
#include <windows.h>

#include "services/base/path_queries.h"
#include "services/base/utf8.h"
#include "services/shell/system_version.h"
#include "setup/app/cl_hubshell.h"
#include "setup/app/startup_system.h"
#include "setup/engine/folders.h"
#include "setup/package/package_reader.h"
#include "setup/startup/setup_switches.h"
#include "setup/startup/startup_record.h"
#include "setup/startup/target_folder.h"
#include "setup/window/page_rules.h"
#include "setup/workers/install_root.h"

namespace kestro {
namespace {

// The installer's own skin package: resource type "UIR", id 129.
constexpr int kSkinResourceId = 129;

}  // namespace

void CLHubshell::ChooseTarget(const SetupSwitches& switches) {
    TargetFolderInputs in;
    in.hasBaseFolder = switches.hasBaseFolder;
    in.baseFolder = switches.baseFolder;
    if (!in.hasBaseFolder) in.previousUninstaller = ReadPreviousUninstallString();
    in.programFilesFolder = GetProgramFilesFolder();
    in.folderExists = FolderExists;
    host_.targetFolder = ChooseTargetFolder(in);
}

bool CLHubshell::RunStartup() {
    const std::vector<std::wstring> args = CommandLineArguments();
    // The switches are read first so that "/q" also keeps the record's message box away.
    const SetupSwitches switches = ParseSetupSwitches(args);

    if (IsVistaOrLater() && IsLimitedAdminToken()) RelaunchElevated(args);

    JValue record;
    const bool read = ReadConfigRecord(GetModulePath(), record);
    const StartupRecord settings = ReadStartupRecord(read ? &record : nullptr);
    const bool quiet = settings.quiet || switches.quiet;
    if (!settings.valid) {
        if (!quiet) MessageBoxW(nullptr, kBadRecordMessage, nullptr, MB_ICONERROR);
        ExitProcess(SetupExitCode(SetupOutcome::RecordRejected, quiet, 0));
    }
    host_.mode = settings.mode == 0 ? 0 : 1;
    host_.channel = settings.channel;
    host_.theme = WideFromUtf8(settings.theme);
    host_.quiet = quiet;
    host_.window = hwnd_;

    if (host_.mode == 0) RunFromWorkCopy(args);

    update_ = switches.update;

    if (!skin_.LoadFromResource(GetModuleHandleW(nullptr), L"UIR", kSkinResourceId)) return false;
    // Nothing of a quiet run is ever drawn: its images are never decoded, nor its
    // frame painted to cut the window's corners.
    if (quiet) {
        skin_.DecodeImagesOnFirstUse();
        SetNeverShown();
    }
    SetCurrentSkin(&skin_);
    Load(&skin_, "MainWindow", nullptr);

    // A quiet run shows nothing, so it has no shadows either.
    if (!quiet) shadowsCreated_ = shadows_.Create(hwnd_);

    BuildTitle();
    if (host_.mode != 0) {
        ChooseTarget(switches);
        BuildInstallPages();
    } else {
        BuildUninstallPages();
    }
    host_.configuration = record;

    ResizeKeepingCorner(kWindowWidth, kWindowHeight);
    CenterWindow();

    if (quiet) {
        ShowWindow(hwnd_, SW_HIDE);
        std::wstring folder;
        if (host_.mode == 0 || AcceptInstallFolder(host_.targetFolder, folder)) {
            if (host_.mode != 0) host_.targetFolder = folder;
            StartOperation();
        } else {
            // Refused before anything is written; the window's folder message has no quiet form.
            exitCode_ = SetupExitCode(SetupOutcome::FolderRejected, true, 0);
        }
        PostQuitMessage(exitCode_);
    }
    return true;
}

}  // namespace kestro
