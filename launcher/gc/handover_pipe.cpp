#include "launcher/gc/handover_pipe.h"

#include <windows.h>

#include <cstdint>
#include <cwchar>

#include "launcher/core/handover_client.h"
#include "outside/hubshell/hubshell.h"
#include "services/win/unique_handle.h"

namespace kestro::launcher {

namespace {

class PipePort final : public HandOverPort {
public:
    explicit PipePort(const wchar_t* commandLine) : commandLine_(commandLine ? commandLine : L"") {}

    uint32_t NowMs() override { return GetTickCount(); }
    bool Open() override {
        // Overlapped, so that a write the running instance never reads can be given up.
        pipe_.reset(CreateFileW(kHandOverPipeName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OVERLAPPED, nullptr));
        if (pipe_) return true;
        lastError_ = GetLastError();
        return false;
    }
    bool OpenFailedBusy() override { return lastError_ == ERROR_PIPE_BUSY; }
    bool WaitForFreeInstance(uint32_t timeoutMs) override {
        return WaitNamedPipeW(kHandOverPipeName, timeoutMs) != FALSE;
    }
    bool SetMessageMode() override {
        DWORD mode = PIPE_READMODE_MESSAGE;
        return SetNamedPipeHandleState(pipe_.get(), &mode, nullptr, nullptr) != FALSE;
    }
    void Write(uint32_t timeoutMs) override {
        UniqueHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!done) return;
        OVERLAPPED operation{};
        operation.hEvent = done.get();
        // The command line and its terminating zero: 2n + 2 bytes, in one message.
        const DWORD bytes = static_cast<DWORD>((std::wcslen(commandLine_) + 1) * sizeof(wchar_t));
        if (WriteFile(pipe_.get(), commandLine_, bytes, nullptr, &operation)) return;
        if (GetLastError() != ERROR_IO_PENDING) return;
        if (WaitForSingleObject(done.get(), timeoutMs) != WAIT_OBJECT_0) CancelIo(pipe_.get());
        // The operation refers to this frame's OVERLAPPED: it must have ended before the frame goes.
        DWORD written = 0;
        GetOverlappedResult(pipe_.get(), &operation, &written, TRUE);
    }
    void Close() override { pipe_.reset(); }
    void Pause() override { Sleep(kHandOverPauseMs); }

private:
    const wchar_t* commandLine_;
    UniqueFile pipe_;
    DWORD lastError_ = ERROR_SUCCESS;
};

}  // namespace

bool HandOverCommandLine(const wchar_t* commandLine) {
    PipePort port(commandLine);
    return HandOver(port);
}

}  // namespace kestro::launcher
