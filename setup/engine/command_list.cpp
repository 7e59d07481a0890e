#include "command_list.h"

#include <vector>

#include "command_line.h"
#include "services/base/utf8.h"
#include "services/win/unique_handle.h"

namespace kestro {
namespace {

// Waits for a process while keeping the window alive: any input wakes the wait and
// one message of the window is dispatched.
void WaitDispatching(HANDLE process, HWND window) {
    for (;;) {
        DWORD woke = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0 + 1) return;
        MSG message;
        if (PeekMessageW(&message, window, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace

void RunCommandList(const std::wstring& baseFolder, const JValue& commands, const CommandListRules& rules) {
    for (size_t i = 0; i < commands.Size(); ++i) {
        const std::wstring element = WideFromUtf8(commands.At(i).AsText());
        if (rules.mayStart && !rules.mayStart(baseFolder + L"\\" + ListedProgram(element))) continue;
        const std::wstring command = BuildListedCommand(baseFolder, element);
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
        UniqueHandle process(started.hProcess);
        UniqueHandle thread(started.hThread);
        if (rules.waitForEach) WaitDispatching(process.get(), rules.window);
    }
}

}  // namespace kestro
