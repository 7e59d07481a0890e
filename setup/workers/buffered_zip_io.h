#pragma once
// minizip's file functions over a ByteSource, read through one buffer. minizip reads
// headers a byte or two at a time and seeks before every refill; straight onto a file
// handle each of those is a system call, tens of thousands for an archive of a few
// hundred entries. Through the buffer they are memory reads.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ioapi.h"
#include "setup/package/byte_source.h"

namespace kestro {

// A read position over a ByteSource with two refillable windows. minizip alternates
// between two places of an archive, the central directory and the entry it reads, so a
// miss refills the window used least recently and the other one stays. Reads are
// clipped at the end of the source; a failed ReadAt of the source is remembered.
class BufferedByteReader {
public:
    static constexpr size_t kDefaultWindowBytes = 262144;

    explicit BufferedByteReader(ByteSource& source, size_t windowBytes = kDefaultWindowBytes);

    // Copies up to `count` bytes from the position on and moves past them; fewer at
    // the end of the source or after a failed source read.
    size_t Read(void* out, size_t count);
    // origin as minizip's ZLIB_FILEFUNC_SEEK_*; false for an unknown origin or an
    // offset that does not fit.
    bool Seek(uint64_t offset, int origin);
    uint64_t Tell() const { return position_; }
    bool Failed() const { return failed_; }

private:
    struct Window {
        std::vector<unsigned char> bytes;
        uint64_t start = 0;
        size_t length = 0;
        uint64_t lastUse = 0;
        bool Holds(uint64_t position) const { return position >= start && position - start < length; }
    };

    Window* WindowAt(uint64_t position);
    Window* Refill();

    ByteSource& source_;
    size_t windowBytes_;
    Window windows_[2];
    uint64_t uses_ = 0;
    uint64_t position_ = 0;
    bool failed_ = false;
};

// Pass the ByteSource (which must outlive the archive) as the "file name" of
// unzOpen2_64; each open gets its own reader. Read-only: opening for writing fails.
zlib_filefunc64_def BufferedZipFunctions(size_t windowBytes = BufferedByteReader::kDefaultWindowBytes);

}  // namespace kestro
