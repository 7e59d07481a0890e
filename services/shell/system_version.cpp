#include "system_version.h"

#include <windows.h>

#include "services/shell/shell_rules.h"

namespace kestro {

bool IsVistaOrLater() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info)) return false;
    return IsVistaOrLaterVersion(info.dwPlatformId, info.dwMajorVersion);
}

}  // namespace kestro
