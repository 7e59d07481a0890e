#include "launcher/core/handover_client.h"

namespace kestro {

namespace {
bool Attempt(HandOverPort& port) {
    while (!port.Open()) {
        if (!port.OpenFailedBusy() || !port.WaitForFreeInstance()) return false;
    }
    bool done = false;
    if (port.SetMessageMode()) {
        port.Write();
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
