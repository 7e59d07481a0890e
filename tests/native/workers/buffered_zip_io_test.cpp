#include "setup/workers/buffered_zip_io.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tools/kestro-pack/memory_zip_io.h"
#include "unzip.h"
#include "zip.h"

namespace kestro {
namespace {

std::string Numbered(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = char(i * 131 + i / 251);
    return bytes;
}

// Counts reads and can be told to fail from a given read on.
class CountingSource : public MemoryByteSource {
public:
    explicit CountingSource(const std::string& bytes) : MemoryByteSource(bytes) {}
    bool ReadAt(uint64_t position, void* out, size_t count) override {
        ++reads;
        if (failFrom >= 0 && reads > failFrom) return false;
        return MemoryByteSource::ReadAt(position, out, count);
    }
    int reads = 0;
    int failFrom = -1;
};

TEST(BufferedByteReader, RandomSeeksAndReadsReturnTheSourceBytes) {
    const std::string bytes = Numbered(10007);
    std::mt19937 random(7);
    for (size_t window : {size_t(1), size_t(7), size_t(64), size_t(4096), size_t(20000)}) {
        MemoryByteSource source(bytes);
        BufferedByteReader reader(source, window);
        for (int step = 0; step < 2000; ++step) {
            uint64_t at = random() % (bytes.size() + 20);
            ASSERT_TRUE(reader.Seek(at, ZLIB_FILEFUNC_SEEK_SET));
            size_t want = random() % 300;
            if (step % 50 == 0) want = 3 * window + 5;
            std::string got(want, '\0');
            size_t read = reader.Read(&got[0], want);
            size_t expected = at >= bytes.size() ? 0 : std::min<size_t>(want, bytes.size() - size_t(at));
            ASSERT_EQ(read, expected) << "window " << window << " at " << at << " want " << want;
            ASSERT_EQ(got.substr(0, read), bytes.substr(size_t(std::min<uint64_t>(at, bytes.size())), read));
            ASSERT_EQ(reader.Tell(), at + read);
        }
        EXPECT_FALSE(reader.Failed());
    }
}

TEST(BufferedByteReader, SeeksFromEveryOriginAndRefusesOverflow) {
    const std::string bytes = Numbered(100);
    MemoryByteSource source(bytes);
    BufferedByteReader reader(source, 16);
    ASSERT_TRUE(reader.Seek(10, ZLIB_FILEFUNC_SEEK_SET));
    ASSERT_TRUE(reader.Seek(5, ZLIB_FILEFUNC_SEEK_CUR));
    EXPECT_EQ(reader.Tell(), 15u);
    ASSERT_TRUE(reader.Seek(0, ZLIB_FILEFUNC_SEEK_END));
    EXPECT_EQ(reader.Tell(), 100u);
    char byte = 0;
    EXPECT_EQ(reader.Read(&byte, 1), 0u);
    EXPECT_FALSE(reader.Seek(UINT64_MAX, ZLIB_FILEFUNC_SEEK_CUR));
    EXPECT_FALSE(reader.Seek(0, 9));
    EXPECT_EQ(reader.Tell(), 100u);
}

TEST(BufferedByteReader, AlternatingBetweenTwoPlacesKeepsBothWindows) {
    // The pattern of an archive walk: a directory entry near the end, then entry data.
    const std::string bytes = Numbered(1 << 20);
    CountingSource source(bytes);
    BufferedByteReader reader(source, 4096);
    char piece[64];
    for (int entry = 0; entry < 32; ++entry) {
        ASSERT_TRUE(reader.Seek(bytes.size() - 4000 + entry * 46, ZLIB_FILEFUNC_SEEK_SET));
        ASSERT_EQ(reader.Read(piece, 46), 46u);
        ASSERT_TRUE(reader.Seek(uint64_t(entry) * 64, ZLIB_FILEFUNC_SEEK_SET));
        ASSERT_EQ(reader.Read(piece, 64), 64u);
    }
    // One refill for the directory, one for the data.
    EXPECT_EQ(source.reads, 2);
}

TEST(BufferedByteReader, AFailedSourceReadIsAnErrorNotTheEnd) {
    const std::string bytes = Numbered(1000);
    CountingSource source(bytes);
    source.failFrom = 1;
    BufferedByteReader reader(source, 100);
    std::string got(300, '\0');
    EXPECT_EQ(reader.Read(&got[0], 50), 50u);
    EXPECT_FALSE(reader.Failed());
    // 50 more from the window, then the source fails for the rest.
    EXPECT_EQ(reader.Read(&got[0], 200), 50u);
    EXPECT_TRUE(reader.Failed());
}

std::string MakeArchive(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string zip;
    zlib_filefunc64_def functions = MemoryZipFunctions(&zip);
    zipFile archive = zipOpen2_64("", APPEND_STATUS_CREATE, nullptr, &functions);
    for (const auto& entry : entries) {
        zip_fileinfo info = {};
        zipOpenNewFileInZip64(archive, entry.first.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                              Z_DEFAULT_COMPRESSION, 0);
        zipWriteInFileInZip(archive, entry.second.data(), unsigned(entry.second.size()));
        zipCloseFileInZip(archive);
    }
    zipClose(archive, nullptr);
    return zip;
}

std::vector<std::pair<std::string, std::string>> ReadArchive(ByteSource& source, bool& ok) {
    std::vector<std::pair<std::string, std::string>> entries;
    zlib_filefunc64_def functions = BufferedZipFunctions();
    unzFile archive = unzOpen2_64(&source, &functions);
    ok = archive != nullptr;
    if (!archive) return entries;
    for (int step = unzGoToFirstFile(archive); step == UNZ_OK; step = unzGoToNextFile(archive)) {
        char name[256] = {};
        unz_file_info64 info;
        ok = ok && unzGetCurrentFileInfo64(archive, &info, name, sizeof name, nullptr, 0, nullptr, 0) == UNZ_OK;
        ok = ok && unzOpenCurrentFile(archive) == UNZ_OK;
        std::string data;
        char piece[1000];
        int got = 0;
        while ((got = unzReadCurrentFile(archive, piece, sizeof piece)) > 0) data.append(piece, size_t(got));
        ok = ok && got == 0 && unzCloseCurrentFile(archive) == UNZ_OK;
        entries.emplace_back(name, data);
    }
    unzClose(archive);
    return entries;
}

TEST(BufferedZipFunctions, MinizipReadsEveryEntryBackThroughTheReader) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (int i = 0; i < 40; ++i) {
        entries.emplace_back("folder" + std::to_string(i % 3) + "/file" + std::to_string(i) + ".bin",
                             Numbered(size_t(i) * 9973 % 70000));
    }
    std::string zip = MakeArchive(entries);
    MemoryByteSource source(zip);
    bool ok = false;
    EXPECT_EQ(ReadArchive(source, ok), entries);
    EXPECT_TRUE(ok);
}

TEST(BufferedZipFunctions, ADamagedOrUnreadableArchiveFailsInsteadOfReadingGarbage) {
    std::string zip = MakeArchive({{"a.txt", Numbered(5000)}, {"b.txt", Numbered(300000)}});
    bool ok = true;
    std::string notZip = "not an archive at all";
    MemoryByteSource text(notZip);
    ReadArchive(text, ok);
    EXPECT_FALSE(ok);

    std::string cut = zip.substr(0, zip.size() / 2);
    MemoryByteSource truncated(cut);
    ReadArchive(truncated, ok);
    EXPECT_FALSE(ok);

    // Whichever read of the source fails, the walk fails.
    CountingSource clean(zip);
    ReadArchive(clean, ok);
    ASSERT_TRUE(ok);
    ASSERT_GT(clean.reads, 2);
    for (int failFrom = 0; failFrom < clean.reads; ++failFrom) {
        CountingSource failing(zip);
        failing.failFrom = failFrom;
        ReadArchive(failing, ok);
        EXPECT_FALSE(ok) << "source failing from read " << failFrom + 1;
    }
}

TEST(BufferedZipFunctions, OpensForReadingOnly) {
    std::string bytes = "x";
    MemoryByteSource source(bytes);
    zlib_filefunc64_def functions = BufferedZipFunctions();
    EXPECT_EQ(zipOpen2_64(&source, APPEND_STATUS_CREATE, nullptr, &functions), nullptr);
}

}  // namespace
}  // namespace kestro
