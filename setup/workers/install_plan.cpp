#include "setup/workers/install_plan.h"

#include "services/config/product_title.h"
#include "setup/workers/installed_items.h"
#include "setup/workers/product_names.h"

namespace kestro {

ProgressStep InstallProgress(InstallStage stage) {
    switch (stage) {
        case InstallStage::Started:
            return {-1, 50};
        case InstallStage::OlderRemoved:
            return {50, 55};
        case InstallStage::InstallerRead:
            return {55, 60};
        case InstallStage::ArchiveWritten:
            return {60, 70};
        case InstallStage::Extracted:
            return {70, 85};
        case InstallStage::DesktopDone:
            return {85, 100};
        case InstallStage::Registered:
            return {100, -1};
    }
    return {-1, -1};
}

ProgressStep UninstallProgress(UninstallStage stage) {
    switch (stage) {
        case UninstallStage::Started:
            return {-1, 20};
        case UninstallStage::Shortcuts:
            return {20, 50};
        case UninstallStage::Files:
            return {50, 100};
        case UninstallStage::Registry:
            return {100, -1};
    }
    return {-1, -1};
}

bool SkipsTaskbarStep(unsigned majorVersion) { return majorVersion == 10; }

bool FitsGrantPathLimit(const std::wstring& folder) { return !folder.empty() && folder.size() < 260; }

std::wstring ShortcutTargetPath(const std::wstring& targetFolder, const std::wstring& file) {
    return targetFolder + L"\\" + BackslashPath(file);
}

std::wstring LastrunPath(const std::wstring& targetFolder, const std::wstring& lastrun) {
    return targetFolder + L"\\" + lastrun;
}

std::wstring StartMenuFolder(const std::wstring& programsFolder) {
    return programsFolder + L"\\" + kMakerFolderName + L"\\" + config::kProductTitle;
}

std::wstring StartMenuLink(const std::wstring& programsFolder, const std::wstring& name) {
    return StartMenuFolder(programsFolder) + L"\\" + name + L".lnk";
}

}  // namespace kestro
