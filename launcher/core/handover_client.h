#pragma once
// The hand-over of a second start's command line to the running game centre:
// up to three attempts, each waiting for a busy pipe, with a pause after every
// failed attempt. The pipe operations come from outside so tests can drive it.
#include <cstdint>

namespace kestro {

inline constexpr int kHandOverAttempts = 3;
// What one attempt may spend waiting, for a busy pipe and for its write
// together: a running instance that accepts the pipe and never reads cannot
// hold a second start for longer.
inline constexpr uint32_t kAttemptTimeMs = 1000;
inline constexpr unsigned long kHandOverPauseMs = 1000;

class HandOverPort {
public:
    virtual ~HandOverPort() = default;
    // A millisecond clock that may wrap around (GetTickCount).
    virtual uint32_t NowMs() = 0;
    // Opens the pipe; false on failure.
    virtual bool Open() = 0;
    // Whether the last failed Open found every pipe instance busy.
    virtual bool OpenFailedBusy() = 0;
    // Waits up to |timeoutMs| (never 0) for a free instance; false on time-out or error.
    virtual bool WaitForFreeInstance(uint32_t timeoutMs) = 0;
    virtual bool SetMessageMode() = 0;
    // Writes the message, giving it up after |timeoutMs|; its result is not needed.
    virtual void Write(uint32_t timeoutMs) = 0;
    virtual void Close() = 0;
    virtual void Pause() = 0;
};

// True when the message was written (or given up on after the attempt's time).
bool HandOver(HandOverPort& port);

}  // namespace kestro
