// The portable parts of the threaded extraction: the folder cache its threads share, the
// way entries are shared out and put back in order, and the entry data decoder.
#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <thread>

#include "setup/workers/entry_data.h"
#include "setup/workers/extraction_schedule.h"
#include "setup/workers/folder_cache.h"

namespace kestro {
namespace {

// A file system of folders only; making a folder makes its missing parents, as the shell does.
struct FakeFolders {
    std::mutex lock;
    std::set<std::wstring> existing{L"C:\\T"};
    std::map<std::wstring, int> made;  // how often each folder was made
    int lookups = 0;
    std::wstring refuse;  // this folder cannot be made

    bool Exists(const std::wstring& path) {
        std::lock_guard<std::mutex> hold(lock);
        ++lookups;
        return existing.count(path) > 0;
    }
    bool Make(const std::wstring& path) {
        std::lock_guard<std::mutex> hold(lock);
        std::vector<std::wstring> chain;
        for (std::wstring p = path; p.size() > 2 && !existing.count(p); p.erase(p.find_last_of(L'\\'))) {
            chain.insert(chain.begin(), p);
        }
        for (const std::wstring& p : chain) {
            if (p == refuse) return false;
            existing.insert(p);
            ++made[p];
        }
        return true;
    }
    FolderCache Cache() {
        return FolderCache([this](const std::wstring& p) { return Exists(p); },
                           [this](const std::wstring& p) { return Make(p); });
    }
};

TEST(FolderCache, MakesAMissingChainOnceListsItParentsFirstAndAsksNoMoreAfterwards) {
    FakeFolders disk;
    FolderCache cache = disk.Cache();
    EXPECT_TRUE(cache.Ensure(L"C:\\T\\a\\b\\c"));
    EXPECT_EQ(cache.Made(), (std::vector<std::wstring>{L"C:\\T\\a", L"C:\\T\\a\\b", L"C:\\T\\a\\b\\c"}));
    const int lookups = disk.lookups;
    EXPECT_TRUE(cache.Ensure(L"C:\\T\\a\\b\\c"));
    EXPECT_TRUE(cache.Ensure(L"C:\\T\\a\\b"));
    EXPECT_TRUE(cache.Ensure(L"C:\\T"));
    EXPECT_EQ(disk.lookups, lookups);
    // A sibling needs one look-up for itself only.
    EXPECT_TRUE(cache.Ensure(L"C:\\T\\a\\d"));
    EXPECT_EQ(disk.lookups, lookups + 1);
    EXPECT_EQ(cache.Made().back(), L"C:\\T\\a\\d");
}

TEST(FolderCache, AFolderThatCannotBeMadeFailsAndOnlyWhatWasMadeIsListed) {
    FakeFolders disk;
    disk.refuse = L"C:\\T\\x\\y";
    FolderCache cache = disk.Cache();
    EXPECT_FALSE(cache.Ensure(L"C:\\T\\x\\y\\z"));
    EXPECT_EQ(cache.Made(), std::vector<std::wstring>{L"C:\\T\\x"});
    EXPECT_FALSE(cache.Ensure(L"C:\\T\\x\\y\\z"));
    EXPECT_EQ(cache.Made(), std::vector<std::wstring>{L"C:\\T\\x"});
}

TEST(FolderCache, ThreadsMeetingTheSameFoldersMakeEachOnce) {
    FakeFolders disk;
    FolderCache cache = disk.Cache();
    std::atomic<bool> allTrue{true};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&cache, &allTrue, t] {
            for (int i = 0; i < 200; ++i) {
                const int n = (i * 7 + t) % 25;
                std::wstring folder = L"C:\\T\\p" + std::to_wstring(n % 5) + L"\\q" + std::to_wstring(n);
                if (!cache.Ensure(folder)) allTrue = false;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_TRUE(allTrue);
    const std::vector<std::wstring> made = cache.Made();
    EXPECT_EQ(made.size(), 30u);  // 5 parents and 25 children
    EXPECT_EQ(std::set<std::wstring>(made.begin(), made.end()).size(), made.size());
    for (const auto& folder : disk.made) EXPECT_EQ(folder.second, 1) << std::string(folder.first.begin(), folder.first.end());
    // Parents before children, so removing them newest first empties the children first.
    for (size_t i = 0; i < made.size(); ++i) {
        const std::wstring parent = made[i].substr(0, made[i].find_last_of(L'\\'));
        auto at = std::find(made.begin(), made.end(), parent);
        if (at != made.end()) {
            EXPECT_LT(size_t(at - made.begin()), i);
        }
    }
}

TEST(ExtractionSchedule, EntriesNamingOneTargetFormOneGroupInArchiveOrder) {
    const auto groups = SameTargetGroups({L"A", L"B", L"A", L"C", L"B", L"A"});
    EXPECT_EQ(groups, (std::vector<std::vector<size_t>>{{0, 2, 5}, {1, 4}, {3}}));
    EXPECT_TRUE(SameTargetGroups({}).empty());
}

// A large entry last in the archive would otherwise be started last, by one thread alone.
TEST(ExtractionSchedule, LargeGroupsGoFirstLargestFirstAndTheRestInArchiveOrder) {
    const std::vector<std::vector<size_t>> groups = {{0}, {1, 6}, {2}, {3}, {4}, {5}};
    const std::vector<uint64_t> sizes = {10, 600, 5000, 20, 5000, 9000, 500};
    EXPECT_EQ(ShareOutOrder(groups, sizes, 1000), (std::vector<size_t>{5, 2, 4, 1, 0, 3}));
    // Nothing large: archive order.
    EXPECT_EQ(ShareOutOrder(groups, sizes, 100000), (std::vector<size_t>{0, 1, 2, 3, 4, 5}));
}

TEST(ExtractionSchedule, EveryGroupIsHandedOutOnceAcrossThreadsAndNoneAfterClose) {
    GroupQueue queue(1000);
    std::mutex lock;
    std::vector<size_t> taken;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            size_t group = 0;
            while (queue.Take(group)) {
                std::lock_guard<std::mutex> hold(lock);
                taken.push_back(group);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    std::sort(taken.begin(), taken.end());
    ASSERT_EQ(taken.size(), 1000u);
    for (size_t i = 0; i < taken.size(); ++i) EXPECT_EQ(taken[i], i);

    GroupQueue closed(5);
    size_t group = 99;
    EXPECT_TRUE(closed.Take(group));
    EXPECT_EQ(group, 0u);
    closed.Close();
    EXPECT_FALSE(closed.Take(group));
}

// Outcomes are set in whatever order the threads finish; the journal reads in archive order.
TEST(ExtractionSchedule, TheJournalListsRecordedEntriesInArchiveOrderAndTheMadeFoldersAsMade) {
    std::vector<PlannedEntry> entries(5);
    const wchar_t* paths[] = {L"T\\a", L"T\\f1", L"T\\a/f2", L"T\\b", L"T\\f3"};
    for (size_t i = 0; i < entries.size(); ++i) entries[i].path = paths[i];
    entries[0].isFolder = entries[3].isFolder = true;
    std::vector<EntryOutcome> outcomes(5);
    for (size_t i : {4, 2, 0, 3}) outcomes[i].recorded = true;  // f1 failed before it was opened
    ExtractionJournal journal;
    MergeIntoJournal(entries, outcomes, {L"T\\a", L"T\\b"}, journal);
    EXPECT_EQ(journal.Files(), (std::vector<std::wstring>{L"T\\a/f2", L"T\\f3"}));
    EXPECT_EQ(journal.FolderEntries(), (std::vector<std::wstring>{L"T\\a", L"T\\b"}));
    EXPECT_EQ(journal.FoldersToRemoveOnRollback(), (std::vector<std::wstring>{L"T\\b", L"T\\a"}));
}

std::string Deflated(const std::string& data, int level = 6) {
    z_stream z = {};
    EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&z, uLong(data.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(&out[0]);
    z.avail_out = uInt(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

uint32_t Crc(const std::string& data) {
    return uint32_t(crc32(0, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size())));
}

std::string Mixed(size_t size, uint32_t seed) {
    std::mt19937 random(seed);
    std::string data;
    while (data.size() < size) {
        if (random() % 3) {
            data += "a line of program text " + std::to_string(random() % 1000) + "\n";
        } else {
            for (int i = 0; i < 64; ++i) data += char(random());
        }
    }
    data.resize(size);
    return data;
}

struct Decoded {
    bool ok = false;
    std::string bytes;
    size_t largestPiece = 0;
};

// The entry's data placed after a few bytes of something else, as in an archive.
Decoded Decode(const std::string& stored, int method, uint64_t size, uint32_t crc,
               uint64_t compressedSize = UINT64_MAX, size_t refuseAfter = SIZE_MAX) {
    const std::string archive = "HEADER" + stored + "NEXT HEADER";
    MemoryByteSource source(archive);
    EntryData entry;
    entry.position = 6;
    entry.compressedSize = compressedSize == UINT64_MAX ? stored.size() : compressedSize;
    entry.size = size;
    entry.crc = crc;
    entry.method = method;
    Decoded out;
    EntryDataDecoder decoder;
    size_t pieces = 0;
    out.ok = decoder.Decode(source, entry, [&](const unsigned char* bytes, size_t count) {
        out.bytes.append(reinterpret_cast<const char*>(bytes), count);
        out.largestPiece = std::max(out.largestPiece, count);
        return ++pieces <= refuseAfter;
    });
    return out;
}

TEST(EntryDataDecoder, StoredAndDeflatedEntriesOfEverySizeComeOutWholeInPiecesOfAtMost512KiB) {
    for (size_t size : {size_t(0), size_t(1), size_t(70000), size_t(524288), size_t(524289), size_t(3 << 20)}) {
        const std::string data = Mixed(size, uint32_t(size));
        Decoded stored = Decode(data, 0, size, Crc(data));
        EXPECT_TRUE(stored.ok) << size;
        EXPECT_TRUE(stored.bytes == data) << size;
        for (int level : {0, 1, 9}) {
            Decoded deflated = Decode(Deflated(data, level), 8, size, Crc(data));
            EXPECT_TRUE(deflated.ok) << size << " level " << level;
            EXPECT_TRUE(deflated.bytes == data) << size << " level " << level;
            EXPECT_LE(deflated.largestPiece, EntryDataDecoder::kPieceBytes);
        }
        EXPECT_LE(stored.largestPiece, EntryDataDecoder::kPieceBytes);
    }
}

TEST(EntryDataDecoder, DataThatDiffersFromTheDirectoryFails) {
    for (size_t size : {size_t(5000), size_t(900000)}) {
        const std::string data = Mixed(size, 3);
        const std::string deflated = Deflated(data);
        EXPECT_FALSE(Decode(deflated, 8, size, Crc(data) ^ 1).ok) << "wrong CRC " << size;
        EXPECT_FALSE(Decode(deflated, 8, size + 10, Crc(data)).ok) << "stream ends early " << size;
        EXPECT_FALSE(Decode(deflated.substr(0, deflated.size() / 2), 8, size, Crc(data)).ok)
            << "data runs out " << size;
        std::string damaged = deflated;
        damaged[damaged.size() / 3] ^= 0x55;
        damaged[damaged.size() / 3 + 1] ^= 0x55;
        EXPECT_FALSE(Decode(damaged, 8, size, Crc(data)).ok) << "damaged " << size;
        EXPECT_FALSE(Decode(data, 0, size, Crc(data) ^ 1).ok) << "stored, wrong CRC " << size;
        EXPECT_FALSE(Decode(data, 0, size + 5, Crc(data)).ok) << "stored, short " << size;
        EXPECT_FALSE(Decode(data, 14, size, Crc(data)).ok) << "other method " << size;
        // Without bzip2 minizip reads such an entry's bytes as they are.
        EXPECT_TRUE(Decode(data, 12, size, Crc(data)).ok) << "bzip2 " << size;
        EXPECT_FALSE(Decode(data + "x", 12, size, Crc(data)).ok) << "bzip2, compressed size counts " << size;
        EXPECT_FALSE(Decode(data, 0, size + 100, Crc(data), size + 100).ok) << "runs past the archive " << size;
        EXPECT_FALSE(Decode(deflated, 8, size, Crc(data), deflated.size() + 100).ok) << "runs past " << size;
        EXPECT_FALSE(Decode(deflated, 8, size, Crc(data), SIZE_MAX, 0).ok) << "sink refuses " << size;
    }
}

// As minizip reads it: no more than the declared size is produced, and the bytes past it
// are never looked at.
TEST(EntryDataDecoder, AStreamHoldingMoreThanTheDeclaredSizeIsReadUpToThatSize) {
    for (size_t size : {size_t(4000), size_t(800000)}) {
        const std::string data = Mixed(size + 3000, 11);
        const std::string head = data.substr(0, size);
        Decoded decoded = Decode(Deflated(data), 8, size, Crc(head));
        EXPECT_TRUE(decoded.ok) << size;
        EXPECT_TRUE(decoded.bytes == head) << size;
        // Stored: the smaller of the two sizes.
        Decoded stored = Decode(data, 0, size, Crc(head));
        EXPECT_TRUE(stored.ok) << size;
    }
}

// minizip reads an entry's data in 16 KiB chunks, only as needed, each whole: a chunk
// that runs past the archive fails, bytes it never reads cannot.
TEST(EntryDataDecoder, TheArchiveMustHoldWhatMinizipReadsAndNoMore) {
    EXPECT_TRUE(Decode("", 8, 0, 0, 100).ok) << "an empty entry reads nothing";
    EXPECT_TRUE(Decode("", 0, 0, 0, 100).ok) << "an empty stored entry reads nothing";
    const std::string data = Mixed(5000, 21);
    // The archive holds 11 bytes after the data.
    EXPECT_TRUE(Decode(data, 0, 5000, Crc(data), 5011).ok) << "the one chunk is held";
    EXPECT_FALSE(Decode(data, 0, 5000, Crc(data), 5012).ok) << "the one chunk runs past the archive";
    const std::string text(100000, 't');
    const std::string deflated = Deflated(text);
    EXPECT_TRUE(Decode(deflated, 8, text.size(), Crc(text), deflated.size() + 11).ok);
    EXPECT_FALSE(Decode(deflated, 8, text.size(), Crc(text), deflated.size() + 20000).ok);
}

}  // namespace
}  // namespace kestro
