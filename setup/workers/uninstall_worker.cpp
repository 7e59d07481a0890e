#include "setup/workers/uninstall_worker.h"

#include <windows.h>
#include <shlwapi.h>

#include <map>

#include "services/base/path_queries.h"
#include "services/base/utf8.h"
#include "services/base/version_strings.h"
#include "services/report/statistics_report.h"
#include "services/shell/elevated_run.h"
#include "services/shell/shortcuts.h"
#include "services/shell/system_version.h"
#include "services/shell/taskbar_pin.h"
#include "setup/engine/command_list.h"
#include "setup/engine/folders.h"
#include "setup/engine/processes.h"
#include "setup/engine/registry_key.h"
#include "setup/engine/shell_file_ops.h"
#include "setup/engine/worker_thread.h"
#include "setup/package/package_reader.h"
#include "setup/package/package_records.h"
#include "setup/workers/install_plan.h"
#include "setup/workers/installed_items.h"
#include "setup/workers/product_names.h"
#include "setup/workers/uninstall_plan.h"
#include "setup/workers/worker_system.h"

namespace kestro {
namespace {

constexpr DWORD kAfterStopDelayMs = 500;
constexpr DWORD kAfterFileOwnerStopDelayMs = 100;
constexpr DWORD kDownloadPathChars = 100;
constexpr DWORD kEmulatorUninstallStringChars = 100;
constexpr DWORD kEmulatorChannelWithData = 28012;

bool IsUsersUninstall(const WorkerHost& host) { return host.mode == 0; }

int InstalledBuildNumber(const std::wstring& root) {
    int version = 0;
    std::map<std::wstring, std::wstring> strings;
    std::wstring launcher = JoinPath(root, kLauncherFileName);
    if (ReadVersionStrings(launcher.c_str(), strings)) {
        auto build = strings.find(L"PrivateBuild");
        if (build != strings.end()) version = LeadingBuildNumber(build->second);
    }
    RegistryKey key;
    DWORD recorded = 0;
    if (key.Open(HKEY_LOCAL_MACHINE, kProductUninstallKey, KEY_READ) == ERROR_SUCCESS &&
        key.QueryNumber(L"Version", recorded) == ERROR_SUCCESS && recorded != 0 && version == 0) {
        version = static_cast<int>(recorded);
    }
    return version;
}

// The channel and download folder the product recorded for this user.
void ReadUserSettings(WorkerHost& host, std::wstring& downloadFolder) {
    RegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, kProductUserKey, KEY_READ) != ERROR_SUCCESS) return;
    DWORD channel = 0;
    if (key.QueryNumber(L"Channel", channel) == ERROR_SUCCESS && channel != 0) host.channel = static_cast<int>(channel);
    wchar_t buffer[kDownloadPathChars] = {};
    if (key.QueryText(L"DownloadPath", buffer, kDownloadPathChars) == ERROR_SUCCESS) downloadFolder = buffer;
}

void DeleteUserKey() {
    RegistryKey maker;
    if (maker.Open(HKEY_CURRENT_USER, kMakerUserKey, KEY_READ | KEY_WRITE) == ERROR_SUCCESS) {
        maker.DeleteSubKey(kProductKeyName);
    }
}

void RunUninstallCommands(const WorkerHost& host, const JValue& commands, const std::wstring& root) {
    CommandListRules rules;
    // The uninstaller runs elevated: a program outside the root is never started.
    rules.mayStart = [&root](const std::wstring& program) { return IsStrictlyInsideRoot(program, root); };
    rules.waitForEach = true;
    rules.window = host.window;
    RunCommandList(root, commands, rules);
}

void RemoveShortcuts(const JValue& shortcut) {
    JValue desktop = shortcut[PackageConfig::kDesktop];
    for (size_t i = 0; i < desktop.Size(); ++i) {
        std::wstring name = WideFromUtf8(desktop.At(i)[PackageConfig::kShortcutName].AsText());
        if (!name.empty()) DeleteDesktopShortcuts(name.c_str());
    }
    JValue taskbar = shortcut[PackageConfig::kTaskbar];
    for (size_t i = 0; i < taskbar.Size(); ++i) {
        std::wstring name = WideFromUtf8(taskbar.At(i)[PackageConfig::kShortcutName].AsText());
        if (name.empty()) continue;
        if (IsVistaOrLater()) UnpinFromTaskbar(name.c_str());
        DeleteQuickLaunchShortcut(name.c_str());
    }
    std::wstring programs = GetProgramsFolder();
    if (!programs.empty()) DeleteFolderTree(StartMenuFolder(programs));
}

void StopProductPrograms() {
    for (const wchar_t* program : kProgramsStoppedBeforeDelete) {
        std::wstring owner;
        if (FindProcessUsingFile(program, owner)) {
            KillProcessesByName(owner);
            Sleep(kAfterStopDelayMs);
        }
    }
}

// Not stoppable part way: a stop (a quit while the caller waits) lets it finish its
// list, because the uninstall entry is removed after it and files left now would be
// orphaned for good.
struct DeletionTask : WorkerThread::Task {
    DeletionTask(const JValue& r, const std::wstring& folder) : record(r), root(folder) {}
    void Run() override { DeleteInstalledFiles(record, root); }
    JValue record;
    std::wstring root;
};

std::wstring EmulatorUninstaller() {
    RegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kEmulatorUninstallKey, KEY_READ) != ERROR_SUCCESS) return std::wstring();
    wchar_t buffer[kEmulatorUninstallStringChars] = {};
    if (key.QueryText(L"UninstallString", buffer, kEmulatorUninstallStringChars) != ERROR_SUCCESS)
        return std::wstring();
    return buffer;
}

void RemoveEmulator(WorkerHost& host, const std::wstring& downloadFolder) {
    SetStatusText(host, L"正在卸载模拟器...");
    std::wstring uninstaller = EmulatorUninstaller();
    if (uninstaller.empty() || !PathExists(uninstaller)) return;
    bool deleteData = host.emulatorDataBox.IsChecked();
    if (deleteData) {
        std::wstring data = ProductDataFolder();
        if (FolderExists(data)) DeleteFolderTree(data);
        if (!downloadFolder.empty()) {
            for (const std::wstring& folder : EmulatorDownloadFolders(downloadFolder)) {
                if (FolderExists(folder)) DeleteFolderTree(folder);
            }
        }
    }
    RunElevatedAndWait(EmulatorUninstallCommand(uninstaller, deleteData).c_str());
}

void CleanRegistry() {
    RegistryKey uninstall;
    if (uninstall.Open(HKEY_LOCAL_MACHINE, kUninstallParentKey, KEY_READ | KEY_WRITE) == ERROR_SUCCESS) {
        uninstall.DeleteSubKey(kProductKeyName);
    }
    RegistryKey protocol;
    if (protocol.Open(HKEY_CLASSES_ROOT, kProtocolKey, KEY_READ) == ERROR_SUCCESS) {
        protocol.Close();
        RegistryKey classes;
        if (classes.Open(HKEY_CLASSES_ROOT, L"", KEY_READ | KEY_WRITE) == ERROR_SUCCESS)
            classes.DeleteTree(kProtocolKey);
    }
    RegistryKey execute;
    if (execute.Create(HKEY_CURRENT_USER, kProtocolExecuteKey) == ERROR_SUCCESS) execute.DeleteSubKey(kProtocolKey);
}

void SendReports(WorkerHost& host) {
    ReportOperation(host.operation, host.productVersion, host.channel, 1, "", 0);
    std::vector<int> codes = CheckedReasonCodes(host.reasonBoxes);
    std::vector<std::wstring> texts;
    if (!host.freeText.empty()) texts.push_back(host.freeText);
    SendUninstallFeedback(codes, texts);
}

}  // namespace

bool EmulatorBoxesStartChecked() {
    RegistryKey key;
    DWORD channel = 0;
    return key.Open(HKEY_CURRENT_USER, kEmulatorUserKey, KEY_READ) == ERROR_SUCCESS &&
           key.QueryNumber(L"Channel", channel) == ERROR_SUCCESS && channel == kEmulatorChannelWithData;
}

void DeleteInstalledFiles(const JValue& record, const std::wstring& root) {
    InstalledItems items;
    if (!DecodeInstalledItems(record, items) || !IsAcceptableRoot(root)) return;
    for (const std::wstring& file : items.files) {
        if (IsProgramOrLibrary(file)) {
            std::wstring owner;
            if (FindProcessUsingFile(file, owner)) {
                KillProcessesByName(owner);
                Sleep(kAfterFileOwnerStopDelayMs);
            }
        }
        DeleteFileW(file.c_str());
    }
    std::wstring uninstaller = JoinPath(root, kUninstallerFileName);
    DeleteFileSilently(uninstaller.c_str());
    for (const std::wstring& folder : items.folders) DeleteFolderTree(folder);
    // Parents of files that no folder entry recorded: removed only when left empty.
    for (const std::wstring& folder : ParentFoldersBelowRoot(items.files, items.root)) RemoveDirectoryW(folder.c_str());
    if (FolderExists(root) && PathIsDirectoryEmptyW(root.c_str())) DeleteFolderTree(root);
}

bool RunUninstall(WorkerHost& host, const std::wstring& uninstallerPath) {
    bool users = IsUsersUninstall(host);
    if (users) StepProgress(host, UninstallProgress(UninstallStage::Started));

    JValue record;
    if (!ReadConfigRecord(uninstallerPath.empty() ? GetModulePath() : uninstallerPath, record)) return false;
    InstalledItems items;
    if (!DecodeInstalledItems(record, items) || !EntryAllowsRoot(ReadProductUninstallString(), items.root)) {
        return false;
    }
    const std::wstring& root = items.root;

    host.productVersion = InstalledBuildNumber(root);
    std::wstring downloadFolder;
    ReadUserSettings(host, downloadFolder);
    if (users) DeleteUserKey();

    SetStatusText(host, L"正在卸载组件");
    JValue commands = record[UninstallRecord::kUninstRun];
    if (users && commands.IsArray()) RunUninstallCommands(host, commands, root);

    SetStatusText(host, L"正在删除快捷方式...");
    if (users) StepProgress(host, UninstallProgress(UninstallStage::Shortcuts));
    RemoveShortcuts(record[UninstallRecord::kSetup][UninstallRecord::kShortcut]);
    StopProductPrograms();

    SetStatusText(host, L"正在删除文件...");
    if (users) StepProgress(host, UninstallProgress(UninstallStage::Files));
    WorkerThread deletion;
    if (deletion.StartTask(std::make_unique<DeletionTask>(record, root))) deletion.WaitPumping();

    if (host.emulatorBox.IsChecked()) RemoveEmulator(host, downloadFolder);

    SetStatusText(host, L"正在清理注册表...");
    if (users) StepProgress(host, UninstallProgress(UninstallStage::Registry));
    CleanRegistry();

    if (uninstallerPath.empty()) {
        SendReports(host);
        PostMessageW(host.window, WM_SETUP_COMPLETE, 0, 0);
    }
    return true;
}

}  // namespace kestro
