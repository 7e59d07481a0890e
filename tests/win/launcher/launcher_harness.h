#pragma once
// Starts real KestroGC processes under Wine and reads the outside libraries' call record.
#include <windows.h>

#include <string>
#include <vector>

#include "services/win/unique_handle.h"
#include "tests/win/support/test_files.h"

namespace kestro::test {

struct RecordLine {
    DWORD pid = 0;
    std::wstring entry;
    std::vector<std::wstring> args;
};

struct Launched {
    UniqueHandle process;
    DWORD pid = 0;
    std::wstring commandLine;
};

// Starts folder\KestroGC.exe with "<quoted exe> " + arguments as its exact command line.
Launched StartLauncher(const std::wstring& folder, const std::wstring& arguments);
// Waits, pumping this thread's messages; the exit code, or STILL_ACTIVE on time-out.
DWORD WaitForExit(const Launched& launched, DWORD timeoutMs);
// The window once it is shown: the game centre serves its pipe before that. With a
// process id, only a window of that process counts.
HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs, DWORD pid = 0);
void Pump(DWORD milliseconds);
// Ends every running KestroGC.exe; the number ended.
int EndGameCentres();

std::vector<RecordLine> ReadRecord(const std::wstring& path);
std::vector<RecordLine> LinesOf(const std::vector<RecordLine>& lines, DWORD pid);
std::vector<std::wstring> EntriesOf(const std::vector<RecordLine>& lines, DWORD pid);
// Polls the record until a line of pid with this entry appears.
bool WaitForEntry(const std::wstring& path, DWORD pid, const std::wstring& entry, DWORD timeoutMs,
                  RecordLine* found = nullptr);

// Sets HKCU\SOFTWARE\Tarnwell\KestroGC\Theme for its lifetime and restores what was there.
class ScopedTheme {
public:
    explicit ScopedTheme(const wchar_t* theme);
    ~ScopedTheme();
    ScopedTheme(const ScopedTheme&) = delete;
    ScopedTheme& operator=(const ScopedTheme&) = delete;

private:
    bool hadValue_ = false;
    std::wstring previous_;
};

// A copy of the launcher and its libraries in a folder of its own, removed at the end.
class InstallCopy {
public:
    InstallCopy(const std::wstring& name, bool withHubshell, bool withCrashReporter);
    const std::wstring& Folder() const { return folder_.Path(); }

private:
    ScratchFolder folder_;
};

std::wstring Utf16Hex(const std::wstring& text);

// The server end of the hand-over pipe, played by a test: one instance in
// message mode, driven step by step. With |inBufferBytes| 0 there is no room
// for a message, so a client's write completes only when it is read.
class PeerPipe {
public:
    explicit PeerPipe(DWORD inBufferBytes);
    ~PeerPipe();
    PeerPipe(const PeerPipe&) = delete;
    PeerPipe& operator=(const PeerPipe&) = delete;

    // Starts waiting for a client; false when the pipe could not be made.
    bool Listen();
    // Whether a client is connected, waiting up to |timeoutMs| for one.
    bool WaitConnected(DWORD timeoutMs);
    // One whole message, waiting up to |timeoutMs| for it.
    bool ReadMessage(DWORD timeoutMs, std::string* bytes);
    // Drops the client; Listen again to take the next one.
    void Disconnect();

private:
    // Ends the pending operation on |operation|, cancelling it after |timeoutMs|; true when it succeeded.
    bool Finish(OVERLAPPED& operation, DWORD timeoutMs, DWORD* bytes);

    UniqueHandle pipe_;
    UniqueHandle connected_;
    OVERLAPPED connect_{};
    bool listening_ = false;
};

}  // namespace kestro::test
