#include "setup/workers/entry_data.h"

#include <algorithm>

#include "libdeflate.h"
#include "zlib.h"

namespace kestro {
namespace {

constexpr int kStored = 0;
constexpr int kDeflate = 8;
// Compressed bytes read per step when an entry is inflated piece by piece.
constexpr size_t kInputPieceBytes = 262144;
// A deflate stream of one piece of data is at most slightly larger than the data
// (5 bytes per stored block of 65,535): anything larger is inflated piece by piece.
constexpr size_t kWholeInputLimit = EntryDataDecoder::kPieceBytes + EntryDataDecoder::kPieceBytes / 64 + 1024;

struct InflateEnd {
    z_stream& stream;
    ~InflateEnd() { inflateEnd(&stream); }
};

}  // namespace

EntryDataDecoder::EntryDataDecoder() = default;

EntryDataDecoder::~EntryDataDecoder() {
    if (whole_) libdeflate_free_decompressor(whole_);
}

bool EntryDataDecoder::Decode(ByteSource& archive, const EntryData& entry, const Sink& sink) {
    if (out_.empty()) out_.resize(kPieceBytes);
    uint64_t written = 0;
    uint32_t crc = 0;
    bool ok = false;
    if (entry.method == kStored) {
        ok = DecodeStored(archive, entry, sink, written, crc);
    } else if (entry.method == kDeflate) {
        bool handled = false;
        ok = DecodeWhole(archive, entry, sink, handled, written, crc);
        if (!handled) ok = DecodeStreaming(archive, entry, sink, written, crc);
    }
    return ok && written == entry.size && crc == entry.crc;
}

bool EntryDataDecoder::DecodeStored(ByteSource& archive, const EntryData& entry, const Sink& sink, uint64_t& written,
                                    uint32_t& crc) {
    const uint64_t count = std::min(entry.size, entry.compressedSize);
    while (written < count) {
        size_t piece = size_t(std::min<uint64_t>(kPieceBytes, count - written));
        if (!archive.ReadAt(entry.position + written, out_.data(), piece)) return false;
        crc = libdeflate_crc32(crc, out_.data(), piece);
        if (!sink(out_.data(), piece)) return false;
        written += piece;
    }
    return true;
}

bool EntryDataDecoder::DecodeWhole(ByteSource& archive, const EntryData& entry, const Sink& sink, bool& handled,
                                   uint64_t& written, uint32_t& crc) {
    handled = false;
    if (entry.size > kPieceBytes || entry.compressedSize > kWholeInputLimit) return false;
    if (!whole_) whole_ = libdeflate_alloc_decompressor();
    if (!whole_) return false;
    if (in_.size() < kWholeInputLimit) in_.resize(kWholeInputLimit);
    const size_t compressed = size_t(entry.compressedSize);
    handled = true;
    if (!archive.ReadAt(entry.position, in_.data(), compressed)) return false;
    size_t produced = 0;
    // Room for exactly the declared size: a stream that holds more, or that libdeflate
    // rejects, is left to the streaming path, which reads it as minizip would.
    if (libdeflate_deflate_decompress(whole_, in_.data(), compressed, out_.data(), size_t(entry.size), &produced) !=
        LIBDEFLATE_SUCCESS) {
        handled = false;
        return false;
    }
    crc = libdeflate_crc32(0, out_.data(), produced);
    written = produced;
    return produced == 0 || sink(out_.data(), produced);
}

bool EntryDataDecoder::DecodeStreaming(ByteSource& archive, const EntryData& entry, const Sink& sink,
                                       uint64_t& written, uint32_t& crc) {
    z_stream stream = {};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
    InflateEnd end{stream};
    if (in_.size() < kInputPieceBytes) in_.resize(kInputPieceBytes);
    uint64_t readAt = entry.position;
    uint64_t restCompressed = entry.compressedSize;
    int status = Z_OK;
    // At most the declared size, as minizip reads it; the data past it is never asked for.
    while (status != Z_STREAM_END && written < entry.size) {
        const size_t room = size_t(std::min<uint64_t>(kPieceBytes, entry.size - written));
        stream.next_out = out_.data();
        stream.avail_out = uInt(room);
        while (stream.avail_out > 0) {
            if (stream.avail_in == 0 && restCompressed > 0) {
                size_t piece = size_t(std::min<uint64_t>(kInputPieceBytes, restCompressed));
                if (!archive.ReadAt(readAt, in_.data(), piece)) return false;
                readAt += piece;
                restCompressed -= piece;
                stream.next_in = in_.data();
                stream.avail_in = uInt(piece);
            }
            // Data that runs out before the stream ends gives Z_BUF_ERROR: a failure.
            status = inflate(&stream, Z_SYNC_FLUSH);
            if (status == Z_STREAM_END) break;
            if (status != Z_OK) return false;
        }
        const size_t produced = room - stream.avail_out;
        if (produced > 0) {
            crc = libdeflate_crc32(crc, out_.data(), produced);
            if (!sink(out_.data(), produced)) return false;
            written += produced;
        }
    }
    return true;
}

}  // namespace kestro
