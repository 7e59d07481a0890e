#pragma once
// Incremental decoder of a "Transfer-Encoding: chunked" body: bytes may arrive in
// any split, down to one byte per receive.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kestro {

class ChunkedDecoder {
public:
    enum class State { NeedMore, Done, Failed };

    // Appends decoded data to `out`. Done after the zero-size chunk's line (trailers are
    // not read); Failed on a size that overflows or passes the in-memory body limit.
    State Feed(const char* data, size_t length, std::string& out);
    State GetState() const { return state_; }

private:
    enum class Step { SizeLine, Data, DataEnd };
    State FeedSizeLine(const char*& data, size_t& length);

    State state_ = State::NeedMore;
    Step step_ = Step::SizeLine;
    std::string line_;
    uint64_t remaining_ = 0;
    uint64_t total_ = 0;
    int dataEndLeft_ = 0;
};

// Leading hexadecimal digits of a chunk-size line (extensions after ";" ignored); 0
// when there are none. False when the value overflows 64 bits.
bool ParseChunkSize(const std::string& line, uint64_t& size);

}  // namespace kestro
