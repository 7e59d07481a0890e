#pragma once
// One archive entry's data, read straight from the archive's bytes and handed on in
// pieces of at most 524,288 bytes, with its size and CRC-32 checked against what the
// central directory says. minizip walks the archive and checks each local header; the
// data itself is read here, with one CRC pass over the bytes handed on.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "setup/package/byte_source.h"

struct libdeflate_decompressor;

namespace kestro {

// Where an entry's data lies and what it must come to.
struct EntryData {
    uint64_t position = 0;        // first byte of the data, after the local header
    uint64_t compressedSize = 0;  // as the central directory says
    uint64_t size = 0;            // uncompressed, as the central directory says
    uint32_t crc = 0;
    int method = 0;  // 0 stored, 8 deflate, 12 (bzip2) read as stored bytes; any other fails
};

// Holds the buffers and decompressor state of one thread; reused entry after entry.
class EntryDataDecoder {
public:
    static constexpr size_t kPieceBytes = 524288;

    // `wholeEntries` false: every deflate entry is inflated piece by piece through zlib,
    // as the benchmark's peer of the one-call inflate.
    explicit EntryDataDecoder(bool wholeEntries = true);
    ~EntryDataDecoder();
    EntryDataDecoder(const EntryDataDecoder&) = delete;
    EntryDataDecoder& operator=(const EntryDataDecoder&) = delete;

    // Takes each piece in order; false stops the decoding.
    using Sink = std::function<bool(const unsigned char* bytes, size_t count)>;

    // True when every piece was taken and the bytes handed on come to the entry's size
    // and CRC-32. The outcome is minizip's, read to its end, under that rule: at most
    // `size` bytes are produced (a stored entry also at most `compressedSize`), a deflate
    // stream that ends early ends the data there, data that runs out before the stream
    // ends fails, and so does data that runs past the archive where minizip reads it.
    bool Decode(ByteSource& archive, const EntryData& entry, const Sink& sink);

private:
    // The first `count` bytes of the data as they are.
    bool DecodeStored(ByteSource& archive, const EntryData& entry, uint64_t count, const Sink& sink,
                      uint64_t& written, uint32_t& crc);
    // The whole entry in one call of libdeflate, when it fits in one piece. False
    // (nothing handed on) when it cannot say; the streaming path then decides.
    bool DecodeWhole(ByteSource& archive, const EntryData& entry, const Sink& sink, bool& handled, uint64_t& written,
                     uint32_t& crc);
    bool DecodeStreaming(ByteSource& archive, const EntryData& entry, const Sink& sink, uint64_t& written,
                         uint32_t& crc);

    std::vector<unsigned char> in_;
    std::vector<unsigned char> out_;
    const bool wholeEntries_;
    libdeflate_decompressor* whole_ = nullptr;
};

}  // namespace kestro
