#pragma once
// Serves the hand-over pipe on its own thread: one message per client, handed
// to a callback on that thread.
#include <functional>
#include <string>
#include <thread>

#include "services/win/unique_handle.h"

namespace kestro::hubshell {

class PipeServer {
public:
    using Receiver = std::function<void(std::string bytes)>;

    PipeServer() = default;
    PipeServer(const PipeServer&) = delete;
    PipeServer& operator=(const PipeServer&) = delete;
    ~PipeServer() { Stop(); }

    // Creates the pipe as its first instance and starts serving; false when the
    // pipe exists already (another process serves it) or cannot be made.
    bool Start(const wchar_t* name, Receiver receiver);
    // Stops serving and waits for the thread; the pipe is gone afterwards.
    void Stop();

private:
    void Serve();
    // Waits for an overlapped operation or the stop signal; false on stop or failure.
    bool Finish(OVERLAPPED& operation, DWORD timeoutMs, DWORD& bytes, DWORD& error);

    UniqueHandle pipe_;
    UniqueHandle stop_;
    UniqueHandle ioDone_;
    Receiver receiver_;
    std::thread thread_;
};

}  // namespace kestro::hubshell
