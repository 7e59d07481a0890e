#include "processes.h"

#include <windows.h>
#include <tlhelp32.h>

#include "path_rules.h"
#include "services/win/unique_handle.h"

namespace kestro {
namespace {

bool LoadsModule(DWORD processId, const std::wstring& path) {
    UniqueFile modules(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, processId));
    if (!modules) return false;
    MODULEENTRY32W module = {};
    module.dwSize = sizeof module;
    for (BOOL more = Module32FirstW(modules.get(), &module); more; more = Module32NextW(modules.get(), &module)) {
        if (SameFileName(module.szExePath, path)) return true;
    }
    return false;
}

}  // namespace

bool FindProcessUsingFile(const std::wstring& path, std::wstring& nameToStop) {
    const std::wstring fileName = FileNamePart(path);
    if (fileName.empty()) return false;
    UniqueFile processes(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!processes) return false;
    PROCESSENTRY32W process = {};
    process.dwSize = sizeof process;
    for (BOOL more = Process32FirstW(processes.get(), &process); more;
         more = Process32NextW(processes.get(), &process)) {
        if (SameFileName(process.szExeFile, fileName)) {
            nameToStop = path;
            return true;
        }
        if (LoadsModule(process.th32ProcessID, path)) {
            nameToStop = process.szExeFile;
            return true;
        }
    }
    return false;
}

void KillProcessesByName(const std::wstring& name) {
    const std::wstring fileName = FileNamePart(name);
    if (fileName.empty()) return;
    const DWORD self = GetCurrentProcessId();
    UniqueFile processes(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!processes) return;
    PROCESSENTRY32W process = {};
    process.dwSize = sizeof process;
    for (BOOL more = Process32FirstW(processes.get(), &process); more;
         more = Process32NextW(processes.get(), &process)) {
        if (process.th32ProcessID == self || !SameFileName(process.szExeFile, fileName)) continue;
        UniqueHandle handle(OpenProcess(PROCESS_ALL_ACCESS, FALSE, process.th32ProcessID));
        if (handle) TerminateProcess(handle.get(), 0);
    }
}

}  // namespace kestro
