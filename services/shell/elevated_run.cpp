#include "elevated_run.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "services/shell/resources.h"
#include "services/shell/shell_rules.h"
#include "services/shell/system_version.h"
#include "services/win/unique_handle.h"

namespace kestro {

bool RunElevatedAndWait(const wchar_t* command) {
    std::wstring text = IS_INTRESOURCE(command) ? LoadStringResource(LOWORD(reinterpret_cast<ULONG_PTR>(command)))
                                                : std::wstring(command ? command : L"");
    if (text.empty()) return false;
    std::vector<wchar_t> program(text.begin(), text.end());
    program.push_back(L'\0');
    PathRemoveArgsW(program.data());
    PathUnquoteSpacesW(program.data());
    std::wstring arguments = PathGetArgsW(text.c_str());

    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    // No error window for a missing program: these helpers never show anything.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = ElevationVerb(IsVistaOrLater());
    info.lpFile = program.data();
    info.lpParameters = arguments.c_str();
    info.lpDirectory = L"";
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info)) return false;
    // A start handed to a running program yields no process to wait for.
    UniqueHandle process(info.hProcess);
    if (process) WaitForSingleObject(process.get(), INFINITE);
    return true;
}

}  // namespace kestro
