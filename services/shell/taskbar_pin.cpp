#include "taskbar_pin.h"

#include <windows.h>
#include <shellapi.h>

#include "services/shell/shell_folders.h"
#include "services/shell/shell_rules.h"
#include "services/shell/system_version.h"

namespace kestro {
namespace {

void ChangeTaskbar(TaskbarChange change, const wchar_t* name) {
    TaskbarVerbCall call = DecideTaskbarVerb(change, IsVistaOrLater(), GetQuickLaunchFolder(), name ? name : L"");
    if (!call.run) return;
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    // Systems without the verb must not answer with an error window.
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = call.verb;
    info.lpFile = call.file.c_str();
    info.nShow = SW_HIDE;
    ShellExecuteExW(&info);
}

}  // namespace

void PinToTaskbar(const wchar_t* name) { ChangeTaskbar(TaskbarChange::kPin, name); }

void UnpinFromTaskbar(const wchar_t* name) { ChangeTaskbar(TaskbarChange::kUnpin, name); }

}  // namespace kestro
