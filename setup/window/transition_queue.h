#pragma once
// The queue of page changes between the window and the slide thread. Whether a slide
// thread is taking records is decided here, under the queue's lock and together with
// the records: a thread that has just found the queue empty is already counted as
// gone, so a record appended after that always gets a new thread, never none.
#include <deque>
#include <mutex>

namespace kestro {

template <class Record>
class TransitionQueue {
public:
    // Appends the record. True when no thread is taking records: the caller starts
    // one, which from now on counts as taking.
    bool Push(const Record& record) {
        std::lock_guard<std::recursive_mutex> hold(lock_);
        records_.push_back(record);
        if (taking_) return false;
        taking_ = true;
        return true;
    }

    // The taking thread's next record, first in first out. False when none is left:
    // the thread then no longer counts as taking and must take nothing more.
    bool Take(Record& record) {
        std::lock_guard<std::recursive_mutex> hold(lock_);
        if (records_.empty()) {
            taking_ = false;
            return false;
        }
        record = records_.front();
        records_.pop_front();
        return true;
    }

private:
    std::recursive_mutex lock_;
    std::deque<Record> records_;
    bool taking_ = false;
};

}  // namespace kestro
