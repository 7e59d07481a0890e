#include "startup_record.h"

namespace kestro {

const int kDefaultChannel = 30001;
const char kDefaultTheme[] = "default";

StartupRecord ReadStartupRecord(const JValue* record) {
    StartupRecord settings;
    if (!record || !record->HasMember("mode")) return settings;
    settings.valid = true;
    settings.mode = (*record)["mode"].AsInt();
    if (record->HasMember("channel")) settings.channel = (*record)["channel"].AsInt();
    if (record->HasMember("theme")) settings.theme = (*record)["theme"].AsText();
    if (settings.theme.empty()) settings.theme = kDefaultTheme;
    if (record->HasMember("quiet")) settings.quiet = (*record)["quiet"].AsBool();
    return settings;
}

int SetupExitCode(SetupOutcome outcome, bool quiet, int installError) {
    switch (outcome) {
        case SetupOutcome::Success: return 0;
        case SetupOutcome::UninstallFailed: return 1;
        case SetupOutcome::InstallFailed: return quiet ? (installError ? installError : 1) : 0;
        case SetupOutcome::RecordRejected: return quiet ? 9 : 0;
    }
    return 0;
}

}  // namespace kestro
