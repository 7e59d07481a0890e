#include "outside/hubshell/pipe_server.h"

#include "outside/hubshell/handover_message.h"

namespace kestro::hubshell {

namespace {
constexpr DWORD kReadChunk = 4096;
// A client that connects and then writes nothing must not hold the pipe for long.
constexpr DWORD kReadTimeoutMs = 5000;
}  // namespace

bool PipeServer::Start(const wchar_t* name, Receiver receiver) {
    stop_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ioDone_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stop_ || !ioDone_) return false;
    // One instance, created first by us: a process that squats on the name makes this fail.
    pipe_.reset(CreateNamedPipeW(name, PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                 PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
                                 1, kReadChunk, kReadChunk, 0, nullptr));
    if (!pipe_) return false;
    receiver_ = std::move(receiver);
    thread_ = std::thread([this] { Serve(); });
    return true;
}

void PipeServer::Stop() {
    if (thread_.joinable()) {
        SetEvent(stop_.get());
        thread_.join();
    }
    pipe_.reset();
}

bool PipeServer::Finish(OVERLAPPED& operation, DWORD timeoutMs, DWORD& bytes, DWORD& error) {
    const HANDLE waits[] = {operation.hEvent, stop_.get()};
    const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, timeoutMs);
    if (woke != WAIT_OBJECT_0) {
        // The OVERLAPPED must outlive the operation: cancel and wait for it to end.
        CancelIo(pipe_.get());
        GetOverlappedResult(pipe_.get(), &operation, &bytes, TRUE);
        error = ERROR_OPERATION_ABORTED;
        return false;
    }
    if (GetOverlappedResult(pipe_.get(), &operation, &bytes, FALSE)) {
        error = ERROR_SUCCESS;
        return true;
    }
    error = GetLastError();
    return error == ERROR_MORE_DATA;
}

void PipeServer::Serve() {
    while (WaitForSingleObject(stop_.get(), 0) != WAIT_OBJECT_0) {
        OVERLAPPED operation{};
        operation.hEvent = ioDone_.get();
        ResetEvent(ioDone_.get());
        DWORD bytes = 0;
        DWORD error = ERROR_SUCCESS;
        if (!ConnectNamedPipe(pipe_.get(), &operation)) {
            error = GetLastError();
            if (error == ERROR_IO_PENDING) {
                if (!Finish(operation, INFINITE, bytes, error)) {
                    if (WaitForSingleObject(stop_.get(), 0) == WAIT_OBJECT_0) break;
                    DisconnectNamedPipe(pipe_.get());
                    continue;
                }
            } else if (error != ERROR_PIPE_CONNECTED && error != ERROR_NO_DATA) {
                DisconnectNamedPipe(pipe_.get());
                continue;
            }
        }

        std::string message;
        bool complete = false;
        char chunk[kReadChunk];
        for (;;) {
            OVERLAPPED read{};
            read.hEvent = ioDone_.get();
            ResetEvent(ioDone_.get());
            bytes = 0;
            if (ReadFile(pipe_.get(), chunk, kReadChunk, nullptr, &read)) {
                GetOverlappedResult(pipe_.get(), &read, &bytes, FALSE);
                error = ERROR_SUCCESS;
            } else {
                error = GetLastError();
                if (error == ERROR_IO_PENDING) {
                    Finish(read, kReadTimeoutMs, bytes, error);
                } else if (error == ERROR_MORE_DATA) {
                    GetOverlappedResult(pipe_.get(), &read, &bytes, FALSE);
                }
            }
            if (error != ERROR_SUCCESS && error != ERROR_MORE_DATA) break;
            message.append(chunk, bytes);
            if (message.size() > kMaxHandOverBytes) break;
            if (error == ERROR_SUCCESS) {
                complete = true;
                break;
            }
        }
        DisconnectNamedPipe(pipe_.get());
        if (complete && receiver_) receiver_(std::move(message));
    }
}

}  // namespace kestro::hubshell
