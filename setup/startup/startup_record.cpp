#include "startup_record.h"

namespace kestro {

const char kDefaultTheme[] = "default";

StartupRecord ReadStartupRecord(const JValue* record) {
    StartupRecord settings;
    if (!record || !record->HasMember(PackageConfig::kMode)) return settings;
    settings.valid = true;
    settings.mode = (*record)[PackageConfig::kMode].AsInt();
    if (record->HasMember(PackageConfig::kChannel)) settings.channel = (*record)[PackageConfig::kChannel].AsInt();
    if (record->HasMember(PackageConfig::kTheme)) settings.theme = (*record)[PackageConfig::kTheme].AsText();
    if (settings.theme.empty()) settings.theme = kDefaultTheme;
    if (record->HasMember(PackageConfig::kQuiet)) settings.quiet = (*record)[PackageConfig::kQuiet].AsBool();
    return settings;
}

int SetupExitCode(SetupOutcome outcome, bool quiet, int installError) {
    switch (outcome) {
        case SetupOutcome::Success: return 0;
        case SetupOutcome::UninstallFailed: return 1;
        case SetupOutcome::InstallFailed: return quiet ? (installError ? installError : 1) : 0;
        case SetupOutcome::RecordRejected: return quiet ? 9 : 0;
        case SetupOutcome::FolderRejected: return quiet ? 11 : 0;
    }
    return 0;
}

}  // namespace kestro
