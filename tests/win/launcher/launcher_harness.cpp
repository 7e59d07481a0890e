#include "tests/win/launcher/launcher_harness.h"

#include <tlhelp32.h>

#include <string_view>

#include "outside/hubshell/hubshell.h"
#include "outside/tarnlib/tarnlib_registry.h"

namespace kestro::test {

namespace {

constexpr wchar_t kLauncherFile[] = L"KestroGC.exe";
constexpr const wchar_t* kImportedLibraries[] = {L"Tarnlib.dll", L"Paneforge.dll", L"Basekit.dll"};

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int chars = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(chars, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), chars);
    return out;
}

std::wstring Unescape(std::wstring_view field) {
    std::wstring out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != L'\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        const wchar_t next = field[++i];
        out += next == L't' ? L'\t' : next == L'n' ? L'\n' : next == L'r' ? L'\r' : next;
    }
    return out;
}

}  // namespace

Launched StartLauncher(const std::wstring& folder, const std::wstring& arguments) {
    Launched launched;
    const std::wstring exe = folder + L"\\" + kLauncherFile;
    launched.commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    std::wstring mutableLine = launched.commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (CreateProcessW(exe.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                       &info)) {
        UniqueHandle thread(info.hThread);
        launched.process.reset(info.hProcess);
        launched.pid = info.dwProcessId;
    }
    return launched;
}

void Pump(DWORD milliseconds) {
    const DWORD until = GetTickCount() + milliseconds;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        const DWORD now = GetTickCount();
        if (static_cast<LONG>(until - now) <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, until - now, QS_ALLINPUT);
    }
}

DWORD WaitForExit(const Launched& launched, DWORD timeoutMs) {
    if (!launched.process) return STILL_ACTIVE;
    const DWORD until = GetTickCount() + timeoutMs;
    for (;;) {
        const HANDLE process = launched.process.get();
        const DWORD now = GetTickCount();
        const DWORD left = static_cast<LONG>(until - now) > 0 ? until - now : 0;
        const DWORD woke = MsgWaitForMultipleObjects(1, &process, FALSE, left, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) break;
        if (woke == WAIT_OBJECT_0 + 1) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            continue;
        }
        return STILL_ACTIVE;
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(launched.process.get(), &code);
    return code;
}

int EndGameCentres() {
    int ended = 0;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, L"KestroGC.exe") != 0) continue;
        UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID));
        if (process && TerminateProcess(process.get(), 1)) {
            WaitForSingleObject(process.get(), 5000);
            ++ended;
        }
    }
    return ended;
}

HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs, DWORD pid) {
    const DWORD start = GetTickCount();
    for (;;) {
        for (HWND window = FindWindowExW(nullptr, nullptr, className, title); window;
             window = FindWindowExW(nullptr, window, className, title)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (IsWindowVisible(window) && (pid == 0 || owner == pid)) return window;
        }
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Pump(20);
    }
}

std::vector<RecordLine> ReadRecord(const std::wstring& path) {
    std::vector<RecordLine> lines;
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return lines;
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) bytes.append(chunk, got);
    const std::wstring text = FromUtf8(bytes);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) break;  // a line still being written
        const std::wstring_view line(text.data() + start, end - start);
        start = end + 1;
        RecordLine record;
        size_t fieldStart = 0;
        int index = 0;
        for (;;) {
            const size_t tab = line.find(L'\t', fieldStart);
            const std::wstring field =
                Unescape(line.substr(fieldStart, tab == std::wstring_view::npos ? line.npos : tab - fieldStart));
            if (index == 0) {
                record.pid = std::wcstoul(field.c_str(), nullptr, 10);
            } else if (index == 1) {
                record.entry = field;
            } else {
                record.args.push_back(field);
            }
            ++index;
            if (tab == std::wstring_view::npos) break;
            fieldStart = tab + 1;
        }
        lines.push_back(std::move(record));
    }
    return lines;
}

std::vector<RecordLine> LinesOf(const std::vector<RecordLine>& lines, DWORD pid) {
    std::vector<RecordLine> out;
    for (const RecordLine& line : lines) {
        if (line.pid == pid) out.push_back(line);
    }
    return out;
}

std::vector<std::wstring> EntriesOf(const std::vector<RecordLine>& lines, DWORD pid) {
    std::vector<std::wstring> out;
    for (const RecordLine& line : lines) {
        if (line.pid == pid) out.push_back(line.entry);
    }
    return out;
}

bool WaitForEntry(const std::wstring& path, DWORD pid, const std::wstring& entry, DWORD timeoutMs,
                  RecordLine* found) {
    const DWORD start = GetTickCount();
    for (;;) {
        for (const RecordLine& line : ReadRecord(path)) {
            if (line.pid == pid && line.entry == entry) {
                if (found) *found = line;
                return true;
            }
        }
        if (GetTickCount() - start > timeoutMs) return false;
        Pump(20);
    }
}

ScopedTheme::ScopedTheme(const wchar_t* theme) {
    UniqueRegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, tarnlib::kProductKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
        return;
    }
    wchar_t value[256];
    DWORD bytes = sizeof(value) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key.get(), tarnlib::kThemeValue, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes) ==
            ERROR_SUCCESS &&
        type == REG_SZ) {
        value[bytes / sizeof(wchar_t)] = L'\0';
        hadValue_ = true;
        previous_ = value;
    }
    if (theme) {
        RegSetValueExW(key.get(), tarnlib::kThemeValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(theme),
                       static_cast<DWORD>((wcslen(theme) + 1) * sizeof(wchar_t)));
    } else {
        RegDeleteValueW(key.get(), tarnlib::kThemeValue);
    }
}

ScopedTheme::~ScopedTheme() {
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, tarnlib::kProductKey, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return;
    if (hadValue_) {
        RegSetValueExW(key.get(), tarnlib::kThemeValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_.c_str()),
                       static_cast<DWORD>((previous_.size() + 1) * sizeof(wchar_t)));
    } else {
        RegDeleteValueW(key.get(), tarnlib::kThemeValue);
    }
}

InstallCopy::InstallCopy(const std::wstring& name, bool withHubshell, bool withCrashReporter) : folder_(name) {
    const std::wstring bin = BinFolder();
    const std::wstring folder = folder_.Path();
    CopyFileW((bin + L"\\" + kLauncherFile).c_str(), (folder + L"\\" + kLauncherFile).c_str(), FALSE);
    for (const wchar_t* library : kImportedLibraries) {
        CopyFileW((bin + L"\\" + library).c_str(), (folder + L"\\" + library).c_str(), FALSE);
    }
    if (withHubshell) {
        CopyFileW((bin + L"\\Hubshell.dll").c_str(), (folder + L"\\Hubshell.dll").c_str(), FALSE);
    }
    if (withCrashReporter) {
        // Only its presence matters to start-up.
        UniqueFile reporter(CreateFileW((folder + L"\\crashpost.exe").c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, 0, nullptr));
    }
}

std::wstring Utf16Hex(const std::wstring& text) {
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring out;
    for (wchar_t c : text) {
        const unsigned value = static_cast<unsigned>(c);
        for (unsigned byte : {value & 0xFFu, value >> 8}) {
            out += digits[byte >> 4];
            out += digits[byte & 15];
        }
    }
    return out;
}

PeerPipe::PeerPipe(DWORD inBufferBytes)
    : pipe_(CreateNamedPipeW(kHandOverPipeName, PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                             PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 4096, inBufferBytes, 0,
                             nullptr)),
      connected_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

PeerPipe::~PeerPipe() { Disconnect(); }

bool PeerPipe::Finish(OVERLAPPED& operation, DWORD timeoutMs, DWORD* bytes) {
    if (WaitForSingleObject(operation.hEvent, timeoutMs) != WAIT_OBJECT_0) CancelIo(pipe_.get());
    // The OVERLAPPED must outlive the operation: wait for it to end, cancelled or not.
    return GetOverlappedResult(pipe_.get(), &operation, bytes, TRUE) != FALSE;
}

bool PeerPipe::Listen() {
    if (!pipe_ || !connected_) return false;
    connect_ = OVERLAPPED{};
    connect_.hEvent = connected_.get();
    ResetEvent(connected_.get());
    if (ConnectNamedPipe(pipe_.get(), &connect_)) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_PIPE_CONNECTED) {
        SetEvent(connected_.get());
        return true;
    }
    listening_ = error == ERROR_IO_PENDING;
    return listening_;
}

bool PeerPipe::WaitConnected(DWORD timeoutMs) {
    if (!listening_) return WaitForSingleObject(connected_.get(), 0) == WAIT_OBJECT_0;
    listening_ = false;
    DWORD bytes = 0;
    return Finish(connect_, timeoutMs, &bytes);
}

bool PeerPipe::ReadMessage(DWORD timeoutMs, std::string* bytes) {
    UniqueHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done) return false;
    std::string buffer(70000, '\0');
    OVERLAPPED read{};
    read.hEvent = done.get();
    DWORD got = 0;
    bool ok = ReadFile(pipe_.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, &read) != FALSE;
    if (!ok && GetLastError() == ERROR_IO_PENDING) ok = Finish(read, timeoutMs, &got);
    if (!ok) return false;
    bytes->assign(buffer.data(), got);
    return true;
}

void PeerPipe::Disconnect() {
    if (listening_) {
        listening_ = false;
        DWORD bytes = 0;
        Finish(connect_, 0, &bytes);
    }
    if (pipe_) DisconnectNamedPipe(pipe_.get());
}

}  // namespace kestro::test
