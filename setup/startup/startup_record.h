#pragma once
#include <string>

#include "services/json/jvalue.h"
#include "setup/package/package_records.h"

namespace kestro {

// What start-up takes from the package record of its own file.
struct StartupRecord {
    bool valid = false;          // the record was read and has "mode"
    int mode = 1;                // 0: uninstaller; anything else: installer
    int channel = PackageConfig::kDefaultChannel;
    std::string theme = "default";  // UTF-8; an empty text also reads as "default"
    bool quiet = false;
};

extern const char kDefaultTheme[];

StartupRecord ReadStartupRecord(const JValue* record);

// Exit code of a quiet run (an unattended install must be able to tell failure):
// a failed install gives its error code, a rejected package record 9, a target folder
// the install refuses 11 (nothing written), a failed uninstall 1, success 0.
// Interactive runs always end with 0 except a failed uninstall.
enum class SetupOutcome { Success, InstallFailed, RecordRejected, FolderRejected, UninstallFailed };
int SetupExitCode(SetupOutcome outcome, bool quiet, int installError);

}  // namespace kestro
