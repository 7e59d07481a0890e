#pragma once
#include <string>

#include "services/json/jvalue.h"
#include "setup/workers/worker_host.h"

namespace kestro {

// Removes an installation using the uninstall record of `uninstallerPath` (empty:
// this program's own file). The user's uninstall (mode 0) also moves the bar, deletes
// the product's user key, runs the record's uninstall commands, may remove the emulator
// product, and - with an empty path - reports, sends the feedback and posts
// WM_SETUP_COMPLETE. False when there is no record or no usable root, and when the
// product's uninstall entry names another folder than the record's root; then nothing
// is removed.
bool RunUninstall(WorkerHost& host, const std::wstring& uninstallerPath);

// The file deletion of an uninstall: recorded files (stopping programs that hold
// ".exe"/".dll" files), the uninstaller, recorded folders with their content, then the
// root when it is empty. Only paths strictly inside the recorded root are touched.
void DeleteInstalledFiles(const JValue& record, const std::wstring& root);

// Whether the emulator boxes of the reason page start checked: the emulator product
// recorded the channel that ships it with the game data (28012) for this user.
bool EmulatorBoxesStartChecked();

}  // namespace kestro
