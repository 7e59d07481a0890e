#pragma once
// The hand-over of a second start's command line to the running game centre:
// up to three attempts, each waiting for a busy pipe, with a pause after every
// failed attempt. The pipe operations come from outside so tests can drive it.
namespace kestro {

inline constexpr int kHandOverAttempts = 3;
inline constexpr unsigned long kPipeBusyWaitMs = 1000;
inline constexpr unsigned long kHandOverPauseMs = 1000;

class HandOverPort {
public:
    virtual ~HandOverPort() = default;
    // Opens the pipe; false on failure.
    virtual bool Open() = 0;
    // Whether the last failed Open found every pipe instance busy.
    virtual bool OpenFailedBusy() = 0;
    // Waits up to kPipeBusyWaitMs for a free instance; false on time-out or error.
    virtual bool WaitForFreeInstance() = 0;
    virtual bool SetMessageMode() = 0;
    // Writes the message; its result is not needed.
    virtual void Write() = 0;
    virtual void Close() = 0;
    virtual void Pause() = 0;
};

// True when the message was written.
bool HandOver(HandOverPort& port);

}  // namespace kestro
