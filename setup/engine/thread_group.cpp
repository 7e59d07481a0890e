#include "setup/engine/thread_group.h"

#include <windows.h>
#include <process.h>

#include <vector>

#include "services/win/unique_handle.h"

namespace kestro {
namespace {

struct ThreadStart {
    const std::function<void(unsigned)>* body;
    unsigned index;
};

unsigned __stdcall ThreadMain(void* argument) {
    const ThreadStart* start = static_cast<const ThreadStart*>(argument);
    (*start->body)(start->index);
    return 0;
}

}  // namespace

unsigned RunOnThreads(unsigned count, const std::function<void(unsigned index)>& body) {
    std::vector<ThreadStart> starts(count > 1 ? count - 1 : 0);
    std::vector<UniqueHandle> threads;
    threads.reserve(starts.size());
    for (unsigned i = 0; i < starts.size(); ++i) {
        starts[i] = {&body, i + 1};
        HANDLE thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &ThreadMain, &starts[i], 0, nullptr));
        if (thread) threads.emplace_back(thread);
    }
    body(0);
    for (const UniqueHandle& thread : threads) WaitForSingleObject(thread.get(), INFINITE);
    return unsigned(threads.size()) + 1;
}

unsigned ProcessorCount() {
    SYSTEM_INFO info = {};
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? unsigned(info.dwNumberOfProcessors) : 1u;
}

}  // namespace kestro
