#include "setup/workers/output_file.h"

#include <windows.h>

#include "services/base/path_queries.h"
#include "setup/engine/processes.h"
#include "setup/engine/shell_file_ops.h"
#include "setup/workers/installed_items.h"
#include "setup/workers/worker_system.h"

namespace kestro {
namespace {

constexpr DWORD kAfterKillDelayMs = 1000;

UniqueFile TryOpen(const std::wstring& path) {
    HANDLE opened = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    UniqueFile file(opened);
    if (file && existed && !SetEndOfFile(file.get())) file.reset();
    return file;
}

}  // namespace

void MovedAsideFile::Remember(const std::wstring& path) {
    std::lock_guard<std::mutex> hold(lock_);
    if (!path_.empty() && path_ != path && PathExists(path_)) {
        MoveFileExW(path_.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
    path_ = path;
}

void MovedAsideFile::CleanUp(bool lastChance) {
    std::lock_guard<std::mutex> hold(lock_);
    if (path_.empty()) return;
    if (!PathExists(path_) || DeleteFileW(path_.c_str())) {
        path_.clear();
    } else if (lastChance) {
        MoveFileExW(path_.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        path_.clear();
    }
}

UniqueFile CreateNewOutputFile(const std::wstring& path) {
    return UniqueFile(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

UniqueFile OpenOutputFile(const std::wstring& path, MovedAsideFile& movedAside) {
    UniqueFile file = TryOpen(path);
    if (file) return file;
    std::wstring owner;
    // Module lists name files with backslashes; archive names bring forward slashes.
    if (FindProcessUsingFile(BackslashPath(path), owner)) {
        KillProcessesByName(owner);
        Sleep(kAfterKillDelayMs);
        file = TryOpen(path);
        if (file) return file;
    }
    // Only a file is moved aside: a folder of that name is never touched.
    if (!FolderExists(path) && !DeleteFileW(path.c_str())) {
        std::wstring old = path + L".old";
        if (MovePath(old, path)) movedAside.Remember(old);
    }
    return TryOpen(path);
}

}  // namespace kestro
