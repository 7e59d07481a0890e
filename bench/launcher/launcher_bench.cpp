// Launcher timings under Wine, medians of 20 runs each:
//   first start: process creation to a visible game-centre window;
//   hand-over: process creation of a gcapp second start to its command line
//   arriving at the running game centre (seen in the outside libraries' record);
//   peer: creation to exit of a program that does nothing.
// Run by hand: bash bench/launcher/run.sh (after a win32 build).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "outside/common/call_record.h"
#include "outside/hubshell/hubshell.h"
#include "services/config/product_title.h"
#include "services/win/unique_handle.h"
#include "tests/win/support/test_files.h"

namespace {

constexpr int kRuns = 20;
constexpr DWORD kTimeoutMs = 20000;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

kestro::UniqueHandle Start(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring line = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return kestro::UniqueHandle();
    }
    kestro::UniqueHandle thread(info.hThread);
    return kestro::UniqueHandle(info.hProcess);
}

HWND WaitForVisibleWindow(const wchar_t* title) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kTimeoutMs) {
        HWND window = FindWindowW(kHubshellWindowClass, title);
        if (window && IsWindowVisible(window)) return window;
        Sleep(1);
    }
    return nullptr;
}

size_t CountLines(const std::wstring& path, const char* entry) {
    kestro::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    if (!file) return 0;
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file.get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) bytes.append(chunk, got);
    const std::string needle = std::string("\t") + entry + "\t";
    size_t count = 0;
    for (size_t at = bytes.find(needle); at != std::string::npos; at = bytes.find(needle, at + 1)) ++count;
    return count;
}

double Median(std::vector<double> samples) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const size_t mid = samples.size() / 2;
    return samples.size() % 2 ? samples[mid] : (samples[mid - 1] + samples[mid]) / 2;
}

bool CloseAndWait(HWND window, HANDLE process) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitForSingleObject(process, kTimeoutMs) == WAIT_OBJECT_0;
}

}  // namespace

int wmain() {
    const std::wstring bin = kestro::test::BinFolder();
    const std::wstring launcher = bin + L"\\KestroGC.exe";
    const std::wstring peer = bin + L"\\launcher_bench_peer.exe";
    const std::wstring record = kestro::test::TempFolder() + L"kestro-launcher-bench.txt";
    DeleteFileW(record.c_str());
    SetEnvironmentVariableW(kestro::kCallRecordVariable, record.c_str());
    const std::wstring title(kestro::config::kProductTitle);

    std::vector<double> peerTimes, firstStart, handOver;
    for (int i = 0; i < kRuns; ++i) {
        const double start = Now();
        kestro::UniqueHandle process = Start(peer, L"");
        if (!process || WaitForSingleObject(process.get(), kTimeoutMs) != WAIT_OBJECT_0) return 1;
        peerTimes.push_back(Now() - start);
    }

    for (int i = 0; i < kRuns; ++i) {
        const double start = Now();
        kestro::UniqueHandle process = Start(launcher, L"");
        HWND window = process ? WaitForVisibleWindow(title.c_str()) : nullptr;
        if (!window) return 2;
        firstStart.push_back(Now() - start);
        if (!CloseAndWait(window, process.get())) return 3;
    }

    kestro::UniqueHandle running = Start(launcher, L"");
    HWND window = running ? WaitForVisibleWindow(title.c_str()) : nullptr;
    if (!window) return 4;
    for (int i = 0; i < kRuns; ++i) {
        const size_t before = CountLines(record, "Hubshell::PipeMessage");
        const double start = Now();
        kestro::UniqueHandle second = Start(launcher, L"\"gcapp://open?id=" + std::to_wstring(i) + L"\" -from oneclick");
        if (!second) return 5;
        const DWORD waitStart = GetTickCount();
        while (CountLines(record, "Hubshell::PipeMessage") == before) {
            if (GetTickCount() - waitStart > kTimeoutMs) return 6;
            Sleep(1);
        }
        handOver.push_back(Now() - start);
        WaitForSingleObject(second.get(), kTimeoutMs);
    }
    CloseAndWait(window, running.get());
    DeleteFileW(record.c_str());

    const double peerMedian = Median(peerTimes);
    std::printf("runs per figure: %d\n", kRuns);
    std::printf("peer (no-op program, start to exit):       median %8.1f ms\n", peerMedian);
    std::printf("first start to visible window:              median %8.1f ms  (%.2f x peer)\n", Median(firstStart),
                Median(firstStart) / peerMedian);
    std::printf("second start hand-over, start to arrival:   median %8.1f ms  (%.2f x peer)\n", Median(handOver),
                Median(handOver) / peerMedian);
    return 0;
}
