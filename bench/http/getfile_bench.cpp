// getfile_bench PORT PATH OUTFILE RECEIVE_SIZE: one GetFile from 127.0.0.1, then one line
// "seconds=S bytes=N peak_working_set_kib=K peak_private_kib=P result=R".
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "services/http/http_agent.h"

namespace {

int CountBytes(int percent, int, const char*, int, int64_t received, int64_t, uintptr_t user) {
    *reinterpret_cast<int64_t*>(user) = received;
    return percent == -1 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: getfile_bench PORT PATH OUTFILE RECEIVE_SIZE\n");
        return 2;
    }
    kestro::CHttpAgent agent;
    agent.SetTimeout(30);
    int receiveSize = _wtoi(argv[4]);
    if (!agent.SetReceiveBufferSize(receiveSize)) {
        std::fprintf(stderr, "receive size refused\n");
        return 2;
    }
    int64_t received = 0;
    auto start = std::chrono::steady_clock::now();
    int result = agent.GetFile(L"127.0.0.1", static_cast<uint16_t>(_wtoi(argv[1])), argv[2], argv[3], CountBytes,
                               reinterpret_cast<uintptr_t>(&received), nullptr);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    std::printf("seconds=%.3f bytes=%lld peak_working_set_kib=%lu peak_private_kib=%lu result=%d\n", seconds,
                static_cast<long long>(received), static_cast<unsigned long>(counters.PeakWorkingSetSize / 1024),
                static_cast<unsigned long>(counters.PeakPagefileUsage / 1024), result);
    return result ? 0 : 1;
}
