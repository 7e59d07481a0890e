#pragma once
#include <cstddef>
#include <memory>
#include <vector>

namespace kestro {

// Owns every buffer handed out by the encoders and the code-page conversions;
// returned pointers stay valid until the arena is cleared or destroyed.
class ConversionArena {
public:
    char* AllocNarrow(size_t count);
    wchar_t* AllocWide(size_t count);
    void Clear();
    size_t BufferCount() const { return narrow_.size() + wide_.size(); }

private:
    std::vector<std::unique_ptr<char[]>> narrow_;
    std::vector<std::unique_ptr<wchar_t[]>> wide_;
};

// The shared empty results: constant, not owned by any arena.
extern const char kEmptyNarrow[1];
extern const wchar_t kEmptyWide[1];

}  // namespace kestro
