#include <string>

#include "outside/common/call_record.h"
#include "services/win/unique_handle.h"

namespace kestro {

void RecordCall(std::wstring_view entry, std::initializer_list<std::wstring_view> args) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(kCallRecordVariable, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const DWORD savedError = GetLastError();
    const std::wstring line = FormatRecordLine(GetCurrentProcessId(), entry, args);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0,
                                          nullptr, nullptr);
    std::string utf8(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), utf8.data(), bytes, nullptr,
                            nullptr);
    // Two processes (a running game centre and a second start) record into one file.
    // Append-only access alone is not enough: under Wine, two appends at the same moment
    // sometimes lost one of the lines. A machine-wide mutex puts the appends in turn.
    UniqueHandle lock(CreateMutexW(nullptr, FALSE, L"KestroCallRecordLock"));
    const bool locked = lock && WaitForSingleObject(lock.get(), 5000) != WAIT_TIMEOUT;
    {
        UniqueFile file(CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            DWORD written = 0;
            WriteFile(file.get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
        }
    }
    if (locked) ReleaseMutex(lock.get());
    // Callers read GetLastError right after some entry points; recording must not disturb it.
    SetLastError(savedError);
}

}  // namespace kestro
