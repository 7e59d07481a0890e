#include "setup/workers/install_journal.h"

#include "services/base/utf8.h"
#include "setup/package/package_records.h"

namespace kestro {
namespace {

JValue EncodedPaths(const std::vector<std::wstring>& paths) {
    JValue list = JValue::Array();
    for (const std::wstring& path : paths) list.Append(UninstallRecord::EncodePath(Utf8FromWide(path)));
    return list;
}

}  // namespace

std::vector<std::wstring> ExtractionJournal::FoldersToRemoveOnRollback() const {
    return std::vector<std::wstring>(createdFolders_.rbegin(), createdFolders_.rend());
}

JValue BuildUninstallRecord(const JValue& config, const std::wstring& root, int channel,
                            const ExtractionJournal& journal) {
    JValue setup = JValue::Object();
    setup.Set(UninstallRecord::kShortcut, config[PackageConfig::kShortcut]);
    setup.Set(UninstallRecord::kRoot, UninstallRecord::EncodePath(Utf8FromWide(root)));

    JValue record = JValue::Object();
    record.Set(UninstallRecord::kMode, 0);
    record.Set(UninstallRecord::kSetup, setup);
    record.Set(UninstallRecord::kChannel, channel);
    if (config.HasMember(PackageConfig::kUninstRun)) {
        record.Set(UninstallRecord::kUninstRun, config[PackageConfig::kUninstRun]);
    }
    record.Set(UninstallRecord::kFiles, EncodedPaths(journal.Files()));
    record.Set(UninstallRecord::kFolders, EncodedPaths(journal.FolderEntries()));
    return record;
}

}  // namespace kestro
