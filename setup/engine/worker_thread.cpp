#include "worker_thread.h"

#include <process.h>

namespace kestro {

WorkerThread::~WorkerThread() { Stop(); }

void WorkerThread::SetHooks(Hook before, Hook after) {
    before_ = std::move(before);
    after_ = std::move(after);
}

bool WorkerThread::Start(Function function, void* argument) {
    if (IsRunning()) return false;
    function_ = function;
    argument_ = argument;
    task_.reset();
    stopRequested_.store(false);
    return Launch();
}

bool WorkerThread::StartTask(std::unique_ptr<Task> task) {
    if (IsRunning()) return false;
    function_ = nullptr;
    argument_ = nullptr;
    task_ = std::move(task);
    stopRequested_.store(false);
    return Launch();
}

bool WorkerThread::Launch() {
    waitHandle_.reset();
    // Suspended until the handle is stored, so a thread that ends at once still finds
    // its handle to clear.
    UniqueHandle thread(
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &ThreadMain, this, CREATE_SUSPENDED, nullptr)));
    if (!thread) return false;
    HANDLE waitCopy = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), thread.get(), GetCurrentProcess(), &waitCopy, 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
        // Never resumed: it has run no code and holds nothing.
        TerminateThread(thread.get(), 0);
        return false;
    }
    waitHandle_.reset(waitCopy);
    // The slot owns it from here; the thread cannot close it before it is resumed.
    HANDLE suspended = thread.release();
    handle_.store(suspended);
    ResumeThread(suspended);
    return true;
}

unsigned __stdcall WorkerThread::ThreadMain(void* self) {
    auto* holder = static_cast<WorkerThread*>(self);
    if (holder->before_) holder->before_();
    if (holder->function_) {
        holder->function_(holder->argument_);
    } else if (holder->task_) {
        holder->task_->Run();
    }
    if (holder->after_) holder->after_();
    // Nothing of the holder is touched after this: it may be restarted or destroyed.
    UniqueHandle mine(holder->handle_.exchange(nullptr));
    return 0;
}

void WorkerThread::Stop() {
    RequestStop();
    if (waitHandle_) WaitForSingleObject(waitHandle_.get(), INFINITE);
    waitHandle_.reset();
    // Cleared by the thread as it ended, unless it ended some other way.
    UniqueHandle thread(handle_.exchange(nullptr));
}

int WorkerThread::WaitPumping() {
    if (!waitHandle_) return 0;
    HANDLE waitOn = waitHandle_.get();
    for (;;) {
        DWORD result = MsgWaitForMultipleObjects(1, &waitOn, FALSE, INFINITE, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0) {
            UniqueHandle left(handle_.exchange(nullptr));
            waitHandle_.reset();
            return 1;
        }
        if (result != WAIT_OBJECT_0 + 1) {
            Stop();
            return 0;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                Stop();
                PostQuitMessage(0);
                return 0;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace kestro
