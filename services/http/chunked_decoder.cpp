#include "services/http/chunked_decoder.h"

#include "services/http/http_wire.h"

namespace kestro {

bool ParseChunkSize(const std::string& line, uint64_t& size) {
    size = 0;
    for (char c : line) {
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else break;
        if (size > (UINT64_MAX >> 4)) return false;
        size = (size << 4) | static_cast<uint64_t>(digit);
    }
    return true;
}

ChunkedDecoder::State ChunkedDecoder::FeedSizeLine(const char*& data, size_t& length) {
    while (length > 0) {
        char c = *data++;
        --length;
        line_.push_back(c);
        if (line_.size() >= 2 && line_[line_.size() - 2] == '\r' && c == '\n') {
            line_.resize(line_.size() - 2);
            uint64_t size = 0;
            if (!ParseChunkSize(line_, size) || size > static_cast<uint64_t>(kHttpMaxBodyBytes) ||
                total_ + size > static_cast<uint64_t>(kHttpMaxBodyBytes)) {
                return state_ = State::Failed;
            }
            line_.clear();
            if (size == 0) return state_ = State::Done;
            remaining_ = size;
            total_ += size;
            step_ = Step::Data;
            return State::NeedMore;
        }
        if (line_.size() > kHttpMaxHeaderBlock) return state_ = State::Failed;
    }
    return State::NeedMore;
}

ChunkedDecoder::State ChunkedDecoder::Feed(const char* data, size_t length, std::string& out) {
    while (state_ == State::NeedMore && length > 0) {
        switch (step_) {
        case Step::SizeLine:
            FeedSizeLine(data, length);
            break;
        case Step::Data: {
            size_t take = remaining_ < length ? static_cast<size_t>(remaining_) : length;
            out.append(data, take);
            data += take;
            length -= take;
            remaining_ -= take;
            if (remaining_ == 0) {
                step_ = Step::DataEnd;
                dataEndLeft_ = 2;
            }
            break;
        }
        case Step::DataEnd:
            // The CRLF after the chunk data is dropped as it comes.
            ++data;
            --length;
            if (--dataEndLeft_ == 0) step_ = Step::SizeLine;
            break;
        }
    }
    return state_;
}

}  // namespace kestro
