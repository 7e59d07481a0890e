#include "setup/engine/worker_thread.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

namespace kestro {
namespace {

struct Journal {
    std::mutex lock;
    std::vector<std::string> lines;
    void Add(const std::string& line) {
        std::lock_guard<std::mutex> hold(lock);
        lines.push_back(line);
    }
};

void RecordArgument(void* argument) { static_cast<Journal*>(argument)->Add("function"); }

// Runs until its holder asks it to end, as the installer's threads do.
void RunUntilAskedToStop(void* holder) {
    while (!static_cast<WorkerThread*>(holder)->StopRequested()) Sleep(1);
}

class SetOnDestroy : public WorkerThread::Task {
public:
    explicit SetOnDestroy(bool* destroyed) : destroyed_(destroyed) {}
    ~SetOnDestroy() override { *destroyed_ = true; }
    void Run() override {}

private:
    bool* destroyed_;
};

class JournalTask : public WorkerThread::Task {
public:
    explicit JournalTask(Journal* journal) : journal_(journal) {}
    void Run() override { journal_->Add("task"); }

private:
    Journal* journal_;
};

// Drains the queue; true when a WM_QUIT with exit code `code` was in it.
bool QuitPosted(WPARAM code) {
    MSG message;
    bool found = false;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT && message.wParam == code) found = true;
    }
    return found;
}

TEST(WorkerThread, RunsFunctionBetweenHooksAndClearsItsHandle) {
    Journal journal;
    WorkerThread worker;
    worker.SetHooks([&] { journal.Add("before"); }, [&] { journal.Add("after"); });
    ASSERT_TRUE(worker.Start(&RecordArgument, &journal));
    EXPECT_EQ(worker.WaitPumping(), 1);
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(journal.lines, (std::vector<std::string>{"before", "function", "after"}));
    ASSERT_TRUE(worker.StartTask(std::make_unique<JournalTask>(&journal)));
    EXPECT_EQ(worker.WaitPumping(), 1);
    EXPECT_EQ(journal.lines.back(), "after");
    EXPECT_EQ(journal.lines[journal.lines.size() - 2], "task");
}

TEST(WorkerThread, HandleIsClearedByTheThreadItself) {
    Journal journal;
    WorkerThread worker;
    ASSERT_TRUE(worker.Start(&RecordArgument, &journal));
    for (int i = 0; i < 500 && worker.IsRunning(); ++i) Sleep(10);
    EXPECT_FALSE(worker.IsRunning());
    // The end is still reported once, then there is nothing left to wait for.
    EXPECT_EQ(worker.WaitPumping(), 1);
    EXPECT_EQ(worker.WaitPumping(), 0);
    EXPECT_TRUE(worker.Start(&RecordArgument, &journal));
    EXPECT_EQ(worker.WaitPumping(), 1);
}

// A before-hook that hands the test a handle to the worker thread itself.
struct ThreadWatch {
    UniqueHandle started{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    UniqueHandle thread;
    WorkerThread::Hook Hook() {
        return [this] {
            HANDLE self = nullptr;
            DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, SYNCHRONIZE, FALSE, 0);
            thread.reset(self);
            SetEvent(started.get());
        };
    }
    bool WaitStarted() { return WaitForSingleObject(started.get(), 5000) == WAIT_OBJECT_0; }
    bool Ended() { return WaitForSingleObject(thread.get(), 5000) == WAIT_OBJECT_0; }
    bool EndedAlready() { return WaitForSingleObject(thread.get(), 0) == WAIT_OBJECT_0; }
};

TEST(WorkerThread, SecondStartWhileRunningFailsAndDestroysTheTask) {
    ThreadWatch watch;
    WorkerThread worker;
    worker.SetHooks(watch.Hook(), nullptr);
    ASSERT_TRUE(worker.Start(&RunUntilAskedToStop, &worker));
    ASSERT_TRUE(watch.WaitStarted());
    Journal journal;
    EXPECT_FALSE(worker.Start(&RecordArgument, &journal));
    bool destroyed = false;
    EXPECT_FALSE(worker.StartTask(std::make_unique<SetOnDestroy>(&destroyed)));
    EXPECT_TRUE(destroyed);
    worker.Stop();
    EXPECT_TRUE(watch.Ended());
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(worker.WaitPumping(), 0);
    EXPECT_TRUE(journal.lines.empty());
}

// Never terminated (a thread killed inside a system call can hang the process): the
// function is asked to end, and its thread has ended, after-hook run, when Stop or the
// destruction returns.
TEST(WorkerThread, StopAndDestructionAskTheThreadToEndAndWaitForIt) {
    ThreadWatch stopped;
    bool stoppedAfterRan = false;
    WorkerThread worker;
    worker.SetHooks(stopped.Hook(), [&] { stoppedAfterRan = true; });
    ASSERT_TRUE(worker.Start(&RunUntilAskedToStop, &worker));
    ASSERT_TRUE(stopped.WaitStarted());
    EXPECT_FALSE(worker.StopRequested());
    worker.Stop();
    EXPECT_TRUE(stopped.EndedAlready());
    EXPECT_TRUE(stoppedAfterRan);
    EXPECT_FALSE(worker.IsRunning());
    // A new start is not asked to stop.
    Journal journal;
    ASSERT_TRUE(worker.Start(&RecordArgument, &journal));
    EXPECT_FALSE(worker.StopRequested());
    EXPECT_EQ(worker.WaitPumping(), 1);

    ThreadWatch destroyed;
    bool destroyedAfterRan = false;
    {
        WorkerThread holder;
        holder.SetHooks(destroyed.Hook(), [&] { destroyedAfterRan = true; });
        ASSERT_TRUE(holder.Start(&RunUntilAskedToStop, &holder));
        ASSERT_TRUE(destroyed.WaitStarted());
    }
    EXPECT_TRUE(destroyed.EndedAlready());
    EXPECT_TRUE(destroyedAfterRan);
}

struct PumpContext {
    HWND window;
    DWORD mainThread;
    WorkerThread* holder;
};

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_APP) {
        ++*reinterpret_cast<int*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

HWND CountingWindow(int* counter) {
    WNDCLASSW cls = {};
    cls.lpfnWndProc = &CountingProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"KestroWorkerTestWindow";
    RegisterClassW(&cls);
    HWND window = CreateWindowW(cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(counter));
    return window;
}

void PostThreeThenEnd(void* context) {
    auto* c = static_cast<PumpContext*>(context);
    for (int i = 0; i < 3; ++i) {
        PostMessageW(c->window, WM_APP, 0, 0);
        Sleep(20);
    }
}

void PostQuitThenRunUntilAskedToStop(void* context) {
    auto* c = static_cast<PumpContext*>(context);
    PostThreadMessageW(c->mainThread, WM_QUIT, 7, 0);
    RunUntilAskedToStop(c->holder);
}

TEST(WaitPumping, DispatchesTheCallersMessagesWhileWaiting) {
    int count = 0;
    HWND window = CountingWindow(&count);
    ASSERT_TRUE(window);
    PumpContext context{window, GetCurrentThreadId(), nullptr};
    WorkerThread worker;
    ASSERT_TRUE(worker.Start(&PostThreeThenEnd, &context));
    EXPECT_EQ(worker.WaitPumping(), 1);
    // Messages posted just before the end may still be queued; none may be lost.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    EXPECT_EQ(count, 3);
    DestroyWindow(window);
}

TEST(WaitPumping, QuitMessageStopsTheThreadAndIsPostedAgain) {
    bool afterRan = false;
    WorkerThread worker;
    PumpContext context{nullptr, GetCurrentThreadId(), &worker};
    worker.SetHooks(nullptr, [&] { afterRan = true; });
    ASSERT_TRUE(worker.Start(&PostQuitThenRunUntilAskedToStop, &context));
    EXPECT_EQ(worker.WaitPumping(), 0);
    EXPECT_FALSE(worker.IsRunning());
    // Asked to stop, the thread ended by itself.
    EXPECT_TRUE(afterRan);
    EXPECT_TRUE(QuitPosted(0));
}

TEST(WaitPumping, WithoutARunningThreadReturnsAtOnce) {
    WorkerThread worker;
    EXPECT_EQ(worker.WaitPumping(), 0);
}

}  // namespace
}  // namespace kestro
