// The install reads its temporary archive through a two-window buffered reader. Any
// bytes, as an archive, must list and read exactly as minizip reads them straight from
// memory, whatever the window size (the first input byte chooses it).
#include <cstddef>
#include <cstdint>
#include <string>

#include "setup/workers/buffered_zip_io.h"
#include "tools/kestro-pack/memory_zip_io.h"
#include "unzip.h"

namespace {

// Names, sizes, data and the status of every step, until the first failure.
std::string Walk(unzFile archive) {
    std::string trace;
    if (!archive) return "no archive";
    int step = unzGoToFirstFile(archive);
    for (int entries = 0; step == UNZ_OK && entries < 64; ++entries) {
        char name[1025] = {};
        unz_file_info64 info = {};
        int status = unzGetCurrentFileInfo64(archive, &info, name, sizeof name, nullptr, 0, nullptr, 0);
        trace += std::to_string(status) + ":" + name + ":" + std::to_string(info.uncompressed_size) + ";";
        if (status != UNZ_OK) break;
        status = unzOpenCurrentFile(archive);
        trace += std::to_string(status) + ";";
        if (status == UNZ_OK) {
            char piece[4096];
            int got = 0;
            size_t total = 0;
            while ((got = unzReadCurrentFile(archive, piece, sizeof piece)) > 0 && total < (1u << 20)) {
                trace.append(piece, size_t(got));
                total += size_t(got);
            }
            trace += "|" + std::to_string(got) + ":" + std::to_string(unzCloseCurrentFile(archive)) + ";";
        }
        step = unzGoToNextFile(archive);
    }
    unzClose(archive);
    return trace + "end " + std::to_string(step);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static const size_t kWindows[] = {1, 2, 3, 16, 46, 512, 4096, kestro::BufferedByteReader::kDefaultWindowBytes};
    size_t window = kWindows[data[0] % (sizeof kWindows / sizeof kWindows[0])];
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    zlib_filefunc64_def memory = kestro::MemoryZipFunctions(&bytes);
    std::string expected = Walk(unzOpen2_64("", &memory));

    kestro::MemoryByteSource source(bytes);
    zlib_filefunc64_def buffered = kestro::BufferedZipFunctions(window);
    std::string actual = Walk(unzOpen2_64(&source, &buffered));
    if (actual != expected) __builtin_trap();
    return 0;
}
