#include "launcher/core/handover_client.h"

namespace kestro {

namespace {
bool Attempt(HandOverPort& port) {
    const uint32_t start = port.NowMs();
    // Unsigned arithmetic keeps the elapsed time right across the clock's wrap.
    const auto timeLeft = [&port, start]() -> uint32_t {
        const uint32_t spent = port.NowMs() - start;
        return spent < kAttemptTimeMs ? kAttemptTimeMs - spent : 0;
    };
    while (!port.Open()) {
        // A wait of 0 would mean the server's default time-out to WaitNamedPipeW.
        const uint32_t left = timeLeft();
        if (!port.OpenFailedBusy() || left == 0 || !port.WaitForFreeInstance(left)) return false;
    }
    bool done = false;
    if (port.SetMessageMode()) {
        port.Write(timeLeft());
        done = true;
    }
    port.Close();
    return done;
}
}  // namespace

bool HandOver(HandOverPort& port) {
    for (int attempt = 0; attempt < kHandOverAttempts; ++attempt) {
        if (Attempt(port)) return true;
        port.Pause();
    }
    return false;
}

}  // namespace kestro
