#include "setup/window/transition_queue.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace kestro {
namespace {

TEST(TransitionQueue, OneThreadAtATimeTakesTheRecordsInOrder) {
    TransitionQueue<int> queue;
    EXPECT_TRUE(queue.Push(1));
    // Queued while that thread takes: it plays them, no second thread.
    EXPECT_FALSE(queue.Push(2));
    EXPECT_FALSE(queue.Push(3));
    int record = 0;
    ASSERT_TRUE(queue.Take(record));
    EXPECT_EQ(record, 1);
    ASSERT_TRUE(queue.Take(record));
    EXPECT_EQ(record, 2);
    ASSERT_TRUE(queue.Take(record));
    EXPECT_EQ(record, 3);
    EXPECT_FALSE(queue.Take(record));
    // The thread that found the queue empty is gone, even if it has not ended yet:
    // the next record starts a new one instead of waiting for nobody.
    EXPECT_TRUE(queue.Push(4));
    ASSERT_TRUE(queue.Take(record));
    EXPECT_EQ(record, 4);
    EXPECT_FALSE(queue.Take(record));
}

TEST(TransitionQueue, NoRecordIsLostWhileTakingThreadsComeAndGo) {
    constexpr int kRecords = 20000;
    TransitionQueue<int> queue;
    std::vector<int> taken;
    std::thread taker;
    auto takeAll = [&] {
        int record = 0;
        while (queue.Take(record)) taken.push_back(record);
    };
    for (int i = 0; i < kRecords; ++i) {
        if (!queue.Push(i)) continue;
        // As the window does: the previous thread has left its loop and only ends.
        if (taker.joinable()) taker.join();
        taker = std::thread(takeAll);
        if (i % 7 == 0) std::this_thread::yield();
    }
    if (taker.joinable()) taker.join();
    ASSERT_EQ(taken.size(), size_t(kRecords));
    for (int i = 0; i < kRecords; ++i) ASSERT_EQ(taken[size_t(i)], i);
}

}  // namespace
}  // namespace kestro
