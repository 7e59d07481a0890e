#include "command_list.h"

#include <windows.h>

#include <vector>

#include "command_line.h"
#include "services/encoding/text_convert.h"

namespace kestro {

void RunCommandList(const std::wstring& baseFolder, const JValue& commands) {
    for (size_t i = 0; i < commands.Size(); ++i) {
        ConversionArena arena;
        std::wstring command = BuildListedCommand(baseFolder, ToWide(commands.At(i).AsText().c_str(), arena, CP_UTF8));
        if (command.empty()) continue;
        // CreateProcessW may write into its command line.
        std::vector<wchar_t> line(command.begin(), command.end());
        line.push_back(L'\0');
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started = {};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
            continue;
        }
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
}

}  // namespace kestro
