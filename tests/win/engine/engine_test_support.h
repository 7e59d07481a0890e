#pragma once
// Shared by the engine tests: helper processes, beside the files and folders of every test.
#include <windows.h>

#include <string>

#include "setup/engine/file_io.h"
#include "setup/engine/folders.h"
#include "setup/engine/shell_file_ops.h"
#include "services/win/unique_handle.h"
#include "tests/win/support/test_files.h"

namespace kestro {
namespace test {

// A started helper process, terminated at the end if still running.
class HelperProcess {
public:
    HelperProcess() = default;
    HelperProcess(HelperProcess&&) = default;
    ~HelperProcess() {
        if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) TerminateProcess(process_.get(), 1);
    }
    // Starts `program` with `args`; when `ready` is set, waits (bounded) for the helper to
    // signal the named event it is given as its last argument.
    bool Start(const std::wstring& program, const std::wstring& args, bool waitReady) {
        std::wstring eventName = L"Local\\" + UniqueName(L"kestro_ready");
        UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
        std::wstring line = L"\"" + program + L"\" " + args + (waitReady ? L" " + eventName : L"");
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started = {};
        if (!CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &started)) {
            return false;
        }
        UniqueHandle thread(started.hThread);
        process_.reset(started.hProcess);
        id_ = started.dwProcessId;
        if (!waitReady) return true;
        HANDLE waits[2] = {ready.get(), process_.get()};
        return WaitForMultipleObjects(2, waits, FALSE, 15000) == WAIT_OBJECT_0;
    }
    // Whether the process ended within the time, and with which code.
    bool WaitEnded(DWORD ms, DWORD* exitCode = nullptr) {
        if (WaitForSingleObject(process_.get(), ms) != WAIT_OBJECT_0) return false;
        if (exitCode) GetExitCodeProcess(process_.get(), exitCode);
        return true;
    }
    DWORD Id() const { return id_; }

private:
    UniqueHandle process_;
    DWORD id_ = 0;
};

inline std::wstring HelperProgram() { return BinFolder() + L"\\kestro_fixture_helper.exe"; }
inline std::wstring HelperModule() { return BinFolder() + L"\\kestro_fixture_module.dll"; }

}  // namespace test
}  // namespace kestro
