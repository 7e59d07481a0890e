// The install's inflate of entry data, alone, natively, on the archives given: every
// entry decoded in memory with the size and CRC check, rounds alternating between
//   libdeflate: EntryDataDecoder as the install runs it (an entry of one piece in one
//               libdeflate call, larger ones through zlib, CRC-32 by libdeflate),
//   zlib:       the same decoder with every entry through zlib (its peer),
//   minizip:    minizip reading the entry in 524,288-byte pieces and checking its CRC,
//               plus the CRC of the bytes read (the install's path before it read
//               around minizip).
// and the CRC-32 alone over all the entries' bytes, libdeflate's against zlib's.
// Prints the medians of each and of the per-round ratios.
//   entry_decode_bench ROUNDS ARCHIVE.zip ...
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "setup/package/byte_source.h"
#include "setup/workers/entry_data.h"
#include "tools/kestro-pack/memory_zip_io.h"
#include "unzip.h"
#include "libdeflate.h"
#include "zlib.h"

using namespace kestro;

namespace {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Entry {
    EntryData data;
    unz64_file_pos position;
};

std::vector<Entry> Entries(unzFile zip) {
    std::vector<Entry> entries;
    for (int step = unzGoToFirstFile(zip); step == UNZ_OK; step = unzGoToNextFile(zip)) {
        unz_file_info64 info = {};
        unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0);
        Entry entry;
        unzGetFilePos64(zip, &entry.position);
        int method = 0, level = 0;
        if (unzOpenCurrentFile2(zip, &method, &level, 1) != UNZ_OK) continue;
        entry.data.position = unzGetCurrentFileZStreamPos64(zip);
        unzCloseCurrentFile(zip);
        entry.data.compressedSize = info.compressed_size;
        entry.data.size = info.uncompressed_size;
        entry.data.crc = uint32_t(info.crc);
        entry.data.method = int(info.compression_method);
        entries.push_back(entry);
    }
    return entries;
}

bool ThroughDecoder(ByteSource& archive, const std::vector<Entry>& entries, bool whole) {
    EntryDataDecoder decoder(whole);
    bool ok = true;
    for (const Entry& entry : entries) ok = decoder.Decode(archive, entry.data, [](const unsigned char*, size_t) {
        return true;
    }) && ok;
    return ok;
}

bool ThroughMinizip(unzFile zip, const std::vector<Entry>& entries) {
    std::vector<char> buffer(EntryDataDecoder::kPieceBytes);
    bool ok = true;
    for (const Entry& entry : entries) {
        unz64_file_pos position = entry.position;
        if (unzGoToFilePos64(zip, &position) != UNZ_OK || unzOpenCurrentFile(zip) != UNZ_OK) return false;
        uLong crc = crc32(0, Z_NULL, 0);
        uint64_t size = 0;
        int got = 0;
        while ((got = unzReadCurrentFile(zip, buffer.data(), unsigned(buffer.size()))) > 0) {
            crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer.data()), uInt(got));
            size += uint64_t(got);
        }
        ok = unzCloseCurrentFile(zip) == UNZ_OK && got == 0 && size == entry.data.size &&
             uint32_t(crc) == entry.data.crc && ok;
    }
    return ok;
}

double Seconds(const std::function<bool()>& run, bool& ok) {
    auto start = std::chrono::steady_clock::now();
    ok = run() && ok;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: entry_decode_bench ROUNDS ARCHIVE.zip ...\n");
        return 2;
    }
    const int rounds = std::max(1, atoi(argv[1]));
    for (int a = 2; a < argc; ++a) {
        std::ifstream file(argv[a], std::ios::binary);
        std::stringstream read;
        read << file.rdbuf();
        std::string bytes = read.str();
        zlib_filefunc64_def memory = MemoryZipFunctions(&bytes);
        unzFile zip = unzOpen2_64("", &memory);
        if (!zip) {
            fprintf(stderr, "%s: not an archive\n", argv[a]);
            return 1;
        }
        std::vector<Entry> entries = Entries(zip);
        uint64_t total = 0, small = 0;
        for (const Entry& entry : entries) {
            total += entry.data.size;
            if (entry.data.size <= EntryDataDecoder::kPieceBytes) small += entry.data.size;
        }
        MemoryByteSource source(bytes);
        std::vector<double> whole, zlibOnly, minizip, toZlib, toMinizip, crcDeflate, crcZlib, crcRatio;
        bool ok = true;
        std::string all;
        {
            EntryDataDecoder decoder;
            for (const Entry& entry : entries) {
                decoder.Decode(source, entry.data, [&all](const unsigned char* piece, size_t count) {
                    all.append(reinterpret_cast<const char*>(piece), count);
                    return true;
                });
            }
        }
        const auto* allBytes = reinterpret_cast<const unsigned char*>(all.data());
        uint32_t crcA = 0, crcB = 0;
        for (int round = 0; round < rounds; ++round) {
            double w = 0, z = 0, m = 0;
            // The order turns from round to round.
            for (int k = 0; k < 3; ++k) {
                switch ((round + k) % 3) {
                    case 0: w = Seconds([&] { return ThroughDecoder(source, entries, true); }, ok); break;
                    case 1: z = Seconds([&] { return ThroughDecoder(source, entries, false); }, ok); break;
                    default: m = Seconds([&] { return ThroughMinizip(zip, entries); }, ok); break;
                }
            }
            double cd = Seconds([&] { return (crcA = libdeflate_crc32(0, allBytes, all.size())) != 1; }, ok);
            double cz = Seconds([&] { return (crcB = uint32_t(crc32(0, allBytes, uInt(all.size())))) != 1; }, ok);
            ok = ok && crcA == crcB;
            crcDeflate.push_back(cd);
            crcZlib.push_back(cz);
            crcRatio.push_back(cd / cz);
            whole.push_back(w);
            zlibOnly.push_back(z);
            minizip.push_back(m);
            toZlib.push_back(w / z);
            toMinizip.push_back(w / m);
        }
        unzClose(zip);
        printf("%s: %zu entries, %.1f MB, %.0f %% of it in entries of one piece or less; %d rounds%s\n", argv[a],
               entries.size(), total / 1e6, 100.0 * double(small) / double(total ? total : 1), rounds,
               ok ? "" : " (SOME ENTRY FAILED)");
        printf("  medians: libdeflate %.4f s, zlib %.4f s, minizip %.4f s; per-round ratios libdeflate/zlib %.2f, "
               "libdeflate/minizip %.2f\n",
               Median(whole), Median(zlibOnly), Median(minizip), Median(toZlib), Median(toMinizip));
        printf("  CRC-32 of the %.1f MB alone: libdeflate %.4f s, zlib %.4f s, per-round ratio %.2f\n", all.size() / 1e6,
               Median(crcDeflate), Median(crcZlib), Median(crcRatio));
    }
    return 0;
}
