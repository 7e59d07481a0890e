#include "setup/workers/install_worker.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include "services/base/path_queries.h"
#include "services/base/utf8.h"
#include "services/config/maker_addresses.h"
#include "services/report/statistics_report.h"
#include "services/shell/shortcuts.h"
#include "services/shell/system_version.h"
#include "services/shell/taskbar_pin.h"
#include "services/win/unique_handle.h"
#include "setup/engine/command_list.h"
#include "setup/engine/folders.h"
#include "setup/engine/registry_key.h"
#include "setup/package/file_byte_source.h"
#include "setup/package/package_reader.h"
#include "setup/package/package_records.h"
#include "setup/package/setup_error.h"
#include "setup/workers/archive_extraction.h"
#include "setup/workers/everyone_access.h"
#include "setup/workers/product_names.h"
#include "setup/workers/registry_table.h"
#include "setup/workers/uninstall_worker.h"
#include "setup/workers/uninstaller_file.h"
#include "setup/workers/worker_system.h"

namespace kestro {
namespace {

// A stopped install did not put the product in place: it fails as an extraction that
// failed (rolled back, code 8), which is what the statistics service is told.
constexpr int kStoppedInstall = kSetupExtract;

HKEY RootKey(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::LocalMachine:
            return HKEY_LOCAL_MACHINE;
        case RegistryRoot::CurrentUser:
            return HKEY_CURRENT_USER;
        case RegistryRoot::ClassesRoot:
            return HKEY_CLASSES_ROOT;
    }
    return nullptr;
}

struct ShortcutItem {
    std::wstring name;
    std::wstring target;
};

std::vector<ShortcutItem> ShortcutItems(const WorkerHost& host, const char* list) {
    std::vector<ShortcutItem> items;
    JValue entries = host.configuration[PackageConfig::kShortcut][list];
    for (size_t i = 0; i < entries.Size(); ++i) {
        JValue entry = entries.At(i);
        items.push_back(
            {WideFromUtf8(entry[PackageConfig::kShortcutName].AsText()),
             ShortcutTargetPath(host.targetFolder, WideFromUtf8(entry[PackageConfig::kShortcutFile].AsText()))});
    }
    return items;
}

void CreateDesktopShortcuts(const WorkerHost& host) {
    for (const ShortcutItem& item : ShortcutItems(host, PackageConfig::kDesktop)) {
        if (!item.name.empty() && PathExists(item.target))
            CreateDesktopShortcut(item.name.c_str(), item.target.c_str());
    }
}

void CreateTaskbarShortcuts(const WorkerHost& host) {
    for (const ShortcutItem& item : ShortcutItems(host, PackageConfig::kTaskbar)) {
        if (item.name.empty() || !PathExists(item.target)) continue;
        CreateQuickLaunchShortcut(item.name.c_str(), item.target.c_str());
        if (IsVistaOrLater()) PinToTaskbar(item.name.c_str());
    }
}

// Start-menu links for the desktop list, whatever the check boxes say. COM stays
// initialised on the install thread.
void CreateStartMenuLinks(const WorkerHost& host) {
    std::wstring programs = GetProgramsFolder();
    // Without the Programs folder the link folder would be a relative path.
    if (programs.empty()) return;
    EnsureFolder(StartMenuFolder(programs));
    CoInitialize(nullptr);
    for (const ShortcutItem& item : ShortcutItems(host, PackageConfig::kDesktop)) {
        if (item.name.empty()) continue;
        ComPtr<IShellLinkW> link;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void**>(link.put())))) {
            continue;
        }
        link->SetPath(item.target.c_str());
        link->SetDescription(item.name.c_str());
        ComPtr<IPersistFile> file;
        if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put())))) continue;
        file->Save(StartMenuLink(programs, item.name).c_str(), TRUE);
    }
}

void WriteRegistryTable(const std::vector<RegistryKeyEntry>& table) {
    std::vector<bool> created(table.size(), false);
    for (size_t i = 0; i < table.size(); ++i) {
        const RegistryKeyEntry& entry = table[i];
        if (entry.requires >= 0 && !created[static_cast<size_t>(entry.requires)]) continue;
        RegistryKey key;
        if (key.Create(RootKey(entry.root), entry.path) != ERROR_SUCCESS) continue;
        created[i] = true;
        for (const RegistryValueEntry& value : entry.values) {
            const wchar_t* name = value.name.empty() ? nullptr : value.name.c_str();
            if (value.isText) {
                key.SetText(name, value.text.c_str());
            } else {
                key.SetNumber(name, value.number);
            }
        }
    }
}

int ExtractProduct(WorkerHost& host, ExtractionJournal& journal) {
    TempArchive temp;
    int code = ExtractArchiveToTemp(GetModulePath(), temp,
                                    [&host] { StepProgress(host, InstallProgress(InstallStage::InstallerRead)); });
    if (code != kSetupOk) return code;
    StepProgress(host, InstallProgress(InstallStage::ArchiveWritten));

    ExtractionResult result = ExtractionResult::NotAnArchive;
    {
        // Closing the only handle of the temporary archive deletes it.
        FileByteSource archive(std::move(temp.file));
        result = ExtractArchive(archive, host.targetFolder, journal, [&host] { return StopRequested(host); });
    }
    if (result == ExtractionResult::Done) return kSetupOk;
    RollBackExtraction(journal);
    return kSetupExtract;
}

}  // namespace

int RunInstall(WorkerHost& host) {
    StepProgress(host, InstallProgress(InstallStage::Started));
    if (StopRequested(host)) return kStoppedInstall;
    std::wstring older = ReadProductUninstallString();
    if (!older.empty() && PathExists(older)) {
        host.operation = 3;
        RunUninstall(host, older);
    }
    StepProgress(host, InstallProgress(InstallStage::OlderRemoved));
    if (StopRequested(host)) return kStoppedInstall;

    ExtractionJournal journal;
    int code = ExtractProduct(host, journal);
    if (code != kSetupOk) return code;
    StepProgress(host, InstallProgress(InstallStage::Extracted));

    if (host.desktopBox.IsChecked()) CreateDesktopShortcuts(host);
    StepProgress(host, InstallProgress(InstallStage::DesktopDone));
    if (host.quickLaunchBox.IsChecked() && !SkipsTaskbarStep(ReportedMajorVersion())) CreateTaskbarShortcuts(host);
    CreateStartMenuLinks(host);

    std::wstring installer = GetModulePath();
    JValue record = BuildUninstallRecord(host.configuration, host.targetFolder, host.channel, journal);
    WriteUninstaller(installer, record.WriteCompact(), JoinPath(host.targetFolder, kUninstallerFileName));

    host.lastrunPath =
        LastrunPath(host.targetFolder, WideFromUtf8(host.configuration[PackageConfig::kLastRun].AsText()));
    if (host.configuration.HasMember(PackageConfig::kInstRun))
        host.instrun = host.configuration[PackageConfig::kInstRun];
    std::wstring dataFolder = ProductDataFolder();

    JValue options = host.configuration[PackageConfig::kInstOptions];
    if (options.IsArray() && options.Size() > 0) RunCommandList(host.targetFolder, options);

    GrantEveryoneFullAccess(host.targetFolder);
    GrantEveryoneFullAccess(dataFolder);
    host.productVersion = 0;

    InstallRegistryInput registry;
    registry.targetFolder = host.targetFolder;
    registry.lastrunPath = host.lastrunPath;
    registry.theme = host.theme;
    registry.channel = host.channel;
    registry.appId = AppIdFromInstallerName(installer);
    registry.helpLink = config::kHelpLink;
    WriteRegistryTable(BuildInstallRegistry(registry));
    StepProgress(host, InstallProgress(InstallStage::Registered));

    ReportOperation(host.operation, 0, host.channel, 1, "", 0);
    if (host.instrun.IsArray()) RunCommandList(host.targetFolder, host.instrun);
    PostMessageW(host.window, WM_SETUP_COMPLETE, 0, 0);
    return kSetupOk;
}

void InstallThreadBody(void* argument) {
    WorkerHost& host = *static_cast<WorkerHost*>(argument);
    int result = RunInstall(host);
    host.installResult = result;
    if (result == kSetupOk) return;
    ReportOperation(host.operation, host.productVersion, host.channel, 1, "", result);
    // A stop comes from the window closing: nobody is left to read a message, and the
    // process waits for this thread to end.
    if (!host.quiet && !StopRequested(host))
        MessageBoxW(host.window, SetupErrorMessage(result), nullptr, MB_ICONERROR);
    PostMessageW(host.window, WM_SETUP_FAILED, 0, 0);
    StepProgress(host, {0, -1});
    if (result == kSetupDownload)
        ShellExecuteW(nullptr, L"open", config::kProductPageUrl, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace kestro
