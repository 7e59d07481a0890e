// The install reads each entry's data around minizip (minizip finds where it starts).
// Any bytes, as an archive: every entry must come out as minizip reads it, with the same
// verdict under the rule that the bytes come to the directory's size and CRC-32.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "setup/package/byte_source.h"
#include "setup/workers/entry_data.h"
#include "tools/kestro-pack/memory_zip_io.h"
#include "unzip.h"
#include "zlib.h"

namespace {

// Entries with more bytes than this are compared up to it, without a verdict.
constexpr size_t kCompared = 1 << 20;

struct Outcome {
    bool accepted = false;
    bool cut = false;
    std::string bytes;
};

Outcome ThroughMinizip(unzFile archive, const unz_file_info64& info) {
    Outcome out;
    if (unzOpenCurrentFile(archive) != UNZ_OK) return out;
    char piece[65536];
    int got = 0;
    while ((got = unzReadCurrentFile(archive, piece, sizeof piece)) > 0) {
        out.bytes.append(piece, size_t(got));
        if (out.bytes.size() > kCompared) {
            out.cut = true;
            break;
        }
    }
    const bool closed = unzCloseCurrentFile(archive) == UNZ_OK;
    const uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(out.bytes.data()), uInt(out.bytes.size())));
    out.accepted = got == 0 && closed && out.bytes.size() == info.uncompressed_size && crc == uint32_t(info.crc);
    return out;
}

Outcome ThroughDecoder(unzFile archive, const unz_file_info64& info, kestro::ByteSource& source,
                       kestro::EntryDataDecoder& decoder) {
    Outcome out;
    int method = 0, level = 0;
    if (unzOpenCurrentFile2(archive, &method, &level, 1) != UNZ_OK) return out;
    kestro::EntryData entry;
    entry.position = unzGetCurrentFileZStreamPos64(archive);
    unzCloseCurrentFile(archive);
    entry.compressedSize = info.compressed_size;
    entry.size = info.uncompressed_size;
    entry.crc = uint32_t(info.crc);
    entry.method = int(info.compression_method);
    out.accepted = decoder.Decode(source, entry, [&out](const unsigned char* bytes, size_t count) {
        out.bytes.append(reinterpret_cast<const char*>(bytes), count);
        if (out.bytes.size() <= kCompared) return true;
        out.cut = true;
        return false;
    });
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    zlib_filefunc64_def memory = kestro::MemoryZipFunctions(&bytes);
    unzFile archive = unzOpen2_64("", &memory);
    if (!archive) return 0;
    kestro::MemoryByteSource source(bytes);
    kestro::EntryDataDecoder decoder;
    int step = unzGoToFirstFile(archive);
    for (int entries = 0; step == UNZ_OK && entries < 64; ++entries) {
        unz_file_info64 info = {};
        if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) break;
        Outcome expected = ThroughMinizip(archive, info);
        Outcome actual = ThroughDecoder(archive, info, source, decoder);
        const size_t common = std::min(expected.bytes.size(), actual.bytes.size());
        if (expected.cut || actual.cut) {
            if (expected.bytes.compare(0, common, actual.bytes, 0, common) != 0) __builtin_trap();
        } else if (expected.accepted != actual.accepted || (expected.accepted && expected.bytes != actual.bytes)) {
            __builtin_trap();
        }
        step = unzGoToNextFile(archive);
    }
    unzClose(archive);
    return 0;
}
