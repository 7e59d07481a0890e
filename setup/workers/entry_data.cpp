#include "setup/workers/entry_data.h"

#include <algorithm>

#include "libdeflate.h"
#include "zlib.h"

namespace kestro {
namespace {

constexpr int kStored = 0;
constexpr int kDeflate = 8;
// minizip without bzip2 reads such an entry's bytes as they are, as many as the
// compressed size says.
constexpr int kBzip2 = 12;
// Compressed bytes read per step when an entry is inflated piece by piece.
constexpr size_t kInputPieceBytes = 262144;
// A deflate stream of one piece of data is at most slightly larger than the data
// (5 bytes per stored block of 65,535): anything larger is inflated piece by piece.
constexpr size_t kWholeInputLimit = EntryDataDecoder::kPieceBytes + EntryDataDecoder::kPieceBytes / 64 + 1024;
// minizip reads an entry's data in chunks of this many bytes, each only once the bytes
// before it are used up; a chunk that runs past the archive fails the read.
constexpr uint64_t kMinizipChunkBytes = 16384;

struct InflateEnd {
    z_stream& stream;
    ~InflateEnd() { inflateEnd(&stream); }
};

// Whether the archive holds every chunk minizip reads to use the first `used` bytes of
// an entry's data: the chunks are whole, but none reaches past the declared size.
bool HoldsChunksFor(const ByteSource& archive, const EntryData& entry, uint64_t used) {
    if (used == 0) return true;
    const uint64_t chunks = (used + kMinizipChunkBytes - 1) / kMinizipChunkBytes * kMinizipChunkBytes;
    const uint64_t extent = std::min(chunks, entry.compressedSize);
    return entry.position <= archive.Size() && extent <= archive.Size() - entry.position;
}

}  // namespace

EntryDataDecoder::EntryDataDecoder(bool wholeEntries) : wholeEntries_(wholeEntries) {}

EntryDataDecoder::~EntryDataDecoder() {
    if (whole_) libdeflate_free_decompressor(whole_);
}

bool EntryDataDecoder::Decode(ByteSource& archive, const EntryData& entry, const Sink& sink) {
    const bool raw = entry.method == kBzip2;
    // minizip reads nothing of an empty entry, whatever its data holds.
    if (entry.size == 0 && !raw) return entry.crc == 0 && (entry.method == kStored || entry.method == kDeflate);
    if (out_.empty()) out_.resize(kPieceBytes);
    uint64_t written = 0;
    uint32_t crc = 0;
    bool ok = false;
    if (entry.method == kStored || raw) {
        const uint64_t count = raw ? entry.compressedSize : std::min(entry.size, entry.compressedSize);
        ok = DecodeStored(archive, entry, count, sink, written, crc);
    } else if (entry.method == kDeflate) {
        bool handled = false;
        ok = DecodeWhole(archive, entry, sink, handled, written, crc);
        if (!handled) ok = DecodeStreaming(archive, entry, sink, written, crc);
    }
    return ok && written == entry.size && crc == entry.crc;
}

bool EntryDataDecoder::DecodeStored(ByteSource& archive, const EntryData& entry, uint64_t count, const Sink& sink,
                                    uint64_t& written, uint32_t& crc) {
    if (!HoldsChunksFor(archive, entry, count)) return false;
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
    if (!wholeEntries_ || entry.size > kPieceBytes || entry.compressedSize > kWholeInputLimit) return false;
    if (!whole_) whole_ = libdeflate_alloc_decompressor();
    if (!whole_) return false;
    if (in_.size() < kWholeInputLimit) in_.resize(kWholeInputLimit);
    const size_t compressed = size_t(entry.compressedSize);
    // Data that runs past the archive may still end in time: the streaming path decides.
    if (!archive.ReadAt(entry.position, in_.data(), compressed)) return false;
    size_t used = 0, produced = 0;
    // Room for exactly the declared size: a stream that holds more, or that libdeflate
    // rejects, is left to the streaming path, which reads it as minizip would.
    if (libdeflate_deflate_decompress_ex(whole_, in_.data(), compressed, out_.data(), size_t(entry.size), &used,
                                         &produced) != LIBDEFLATE_SUCCESS) {
        return false;
    }
    handled = true;
    crc = libdeflate_crc32(0, out_.data(), produced);
    written = produced;
    return sink(out_.data(), produced);
}

bool EntryDataDecoder::DecodeStreaming(ByteSource& archive, const EntryData& entry, const Sink& sink,
                                       uint64_t& written, uint32_t& crc) {
    z_stream stream = {};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
    InflateEnd end{stream};
    if (in_.size() < kInputPieceBytes) in_.resize(kInputPieceBytes);
    // What of the declared data the archive holds; needing more fails, as with minizip.
    const uint64_t held = entry.position < archive.Size() ? archive.Size() - entry.position : 0;
    uint64_t fed = 0;
    const uint64_t available = std::min(entry.compressedSize, held);
    int status = Z_OK;
    // At most the declared size, as minizip reads it; the data past it is never asked for.
    while (status != Z_STREAM_END && written < entry.size) {
        const size_t room = size_t(std::min<uint64_t>(kPieceBytes, entry.size - written));
        stream.next_out = out_.data();
        stream.avail_out = uInt(room);
        while (stream.avail_out > 0) {
            if (stream.avail_in == 0 && fed < entry.compressedSize) {
                if (fed >= available) return false;
                size_t piece = size_t(std::min<uint64_t>(kInputPieceBytes, available - fed));
                if (!archive.ReadAt(entry.position + fed, in_.data(), piece)) return false;
                fed += piece;
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
    return HoldsChunksFor(archive, entry, stream.total_in);
}

}  // namespace kestro
