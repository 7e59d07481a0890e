#pragma once
// A piece of work run on several threads at once, the calling thread among them.
#include <functional>

namespace kestro {

// Runs body(0) on the calling thread and body(1) ... body(count - 1) on threads of their
// own, and returns once every one has returned. A thread that cannot be started is
// left out: the bodies must share their work so that any of them can do all of it.
// Returns how many ran.
unsigned RunOnThreads(unsigned count, const std::function<void(unsigned index)>& body);

// Processors the system reports for this process (at least 1).
unsigned ProcessorCount();

}  // namespace kestro
