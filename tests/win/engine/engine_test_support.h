#pragma once
// Shared by the engine tests: unique names, scratch folders and helper processes.
#include <windows.h>

#include <string>

#include "setup/engine/file_io.h"
#include "setup/engine/folders.h"
#include "setup/engine/shell_file_ops.h"
#include "services/win/unique_handle.h"

namespace kestro {
namespace test {

inline std::wstring UniqueName(const wchar_t* stem) {
    static LONG counter = 0;
    return std::wstring(stem) + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
           std::to_wstring(GetTickCount()) + L"_" + std::to_wstring(InterlockedIncrement(&counter));
}

inline std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

// The folder of the test program, where the fixture programs are built too.
inline std::wstring BinFolder() { return FolderOf(GetModulePath()); }

inline bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline bool IsFolder(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// A fresh folder under the temporary folder, deleted with everything in it at the end.
class ScratchFolder {
public:
    explicit ScratchFolder(const wchar_t* stem = L"kestro_test")
        : path_(GetTempFolder() + UniqueName(stem)) {
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { DeleteFolderTree(path_); }
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

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
        CloseHandle(started.hThread);
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
