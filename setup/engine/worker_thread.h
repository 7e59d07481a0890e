#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

#include "services/win/unique_handle.h"

namespace kestro {

// The installer's thread holder: runs one function or task at a time on its own
// thread, optionally surrounded by hooks, and lets the main thread wait for it while
// still dispatching its window messages.
class WorkerThread {
public:
    using Function = void (*)(void* argument);
    class Task {
    public:
        virtual ~Task() = default;
        virtual void Run() = 0;
    };
    using Hook = std::function<void()>;

    WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    // A thread still running is terminated.
    ~WorkerThread();

    // Run before and after the function or task, on the worker thread.
    void SetHooks(Hook before, Hook after);

    // Fail while a thread runs (StartTask then destroys the task).
    bool Start(Function function, void* argument);
    bool StartTask(std::unique_ptr<Task> task);

    bool IsRunning() const { return handle_.load() != nullptr; }

    // Asks the running function to end (StopRequested turns true) without waiting.
    void RequestStop() { stopRequested_.store(true); }

    // RequestStop, then waits for the thread to end and releases the handle. A thread is never terminated: one killed inside
    // a system call can leave the process's own locks held, and the process then hangs
    // on its next call (seen under Wine). The functions run here therefore end soon
    // once asked, or have only bounded work left.
    void Stop();

    // True from a Stop until the next start; the running function looks at it
    // wherever it can end cleanly.
    bool StopRequested() const { return stopRequested_.load(); }

    // Waits for the thread while dispatching the calling thread's messages. A quit
    // message stops the thread (Stop) and is posted again (exit code 0). Returns 1 when
    // the thread started last ran to its end (also before the call), 0 when nothing was
    // started since the last wait or Stop, a quit arrived, or the wait failed (the
    // thread is then stopped).
    int WaitPumping();

private:
    static unsigned __stdcall ThreadMain(void* self);
    bool Launch();

    // Owned by the running thread's slot: cleared (and closed) by the thread when it
    // ends, or taken by Stop. Exchanged atomically.
    std::atomic<HANDLE> handle_{nullptr};
    // A second handle to the same thread, owned by the holder (main thread only), so
    // WaitPumping never waits on a handle the ending thread has closed.
    UniqueHandle waitHandle_;
    std::atomic<bool> stopRequested_{false};
    Function function_ = nullptr;
    void* argument_ = nullptr;
    std::unique_ptr<Task> task_;
    Hook before_;
    Hook after_;
};

}  // namespace kestro
