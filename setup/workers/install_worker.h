#pragma once
#include "setup/workers/worker_host.h"

namespace kestro {

// The installation itself, on the install thread: removes an older installation,
// extracts the archive (rolled back on failure), makes shortcuts and links, writes
// unins000.exe with its uninstall record and the registry entries, starts the
// configured programs, reports, and posts WM_SETUP_COMPLETE. Returns a SetupError
// code (0 = success); on failure nothing is posted here.
int RunInstall(WorkerHost& host);

// The install thread's function (argument: the WorkerHost). Runs RunInstall and, on
// failure, reports the code, shows its message unless quiet, posts WM_SETUP_FAILED
// and resets the bar.
void InstallThreadBody(void* host);

}  // namespace kestro
