#include "launcher/gc/handover_pipe.h"

#include <windows.h>

#include <cwchar>

#include "launcher/core/handover_client.h"
#include "outside/hubshell/hubshell.h"
#include "services/win/unique_handle.h"

namespace kestro::launcher {

namespace {

class PipePort final : public HandOverPort {
public:
    explicit PipePort(const wchar_t* commandLine) : commandLine_(commandLine ? commandLine : L"") {}

    bool Open() override {
        pipe_.reset(CreateFileW(kHandOverPipeName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                nullptr));
        if (pipe_) return true;
        lastError_ = GetLastError();
        return false;
    }
    bool OpenFailedBusy() override { return lastError_ == ERROR_PIPE_BUSY; }
    bool WaitForFreeInstance() override { return WaitNamedPipeW(kHandOverPipeName, kPipeBusyWaitMs) != FALSE; }
    bool SetMessageMode() override {
        DWORD mode = PIPE_READMODE_MESSAGE;
        return SetNamedPipeHandleState(pipe_.get(), &mode, nullptr, nullptr) != FALSE;
    }
    void Write() override {
        // The command line and its terminating zero: 2n + 2 bytes.
        const DWORD bytes = static_cast<DWORD>((std::wcslen(commandLine_) + 1) * sizeof(wchar_t));
        DWORD written = 0;
        WriteFile(pipe_.get(), commandLine_, bytes, &written, nullptr);
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
