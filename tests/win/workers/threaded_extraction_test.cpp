// The extraction on several threads at once, called directly with the number of threads
// fixed, over a real file as the install reads its temporary archive: whatever order the
// entries finish in, the outcome is that of extracting them one by one.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <set>

#include "setup/package/file_byte_source.h"
#include "setup/workers/archive_extraction.h"
#include "worker_test_support.h"

namespace kestro {
namespace testing {
namespace {

constexpr unsigned kThreads = 2;

class ThreadedExtraction : public WorkerTest {
protected:
    ExtractionResult Extract(const std::vector<ZipEntry>& entries, const std::function<bool()>& stop = nullptr) {
        return ExtractZip(MakeZip(entries), stop);
    }
    ExtractionResult ExtractZip(const std::string& zip, const std::function<bool()>& stop = nullptr) {
        const std::wstring archive = scratch_ + L"\\archive.zip";
        EXPECT_TRUE(WriteBytes(archive, zip));
        FileByteSource source(archive);
        return ExtractArchive(source, target_, journal_, stop, kThreads);
    }
    std::wstring Path(const std::string& name) const { return target_ + L"\\" + std::wstring(name.begin(), name.end()); }
    std::vector<std::wstring> Paths(const std::vector<ZipEntry>& entries, bool folders) const {
        std::vector<std::wstring> paths;
        for (const ZipEntry& entry : entries) {
            const bool folder = entry.name.back() == '/';
            if (folder != folders) continue;
            paths.push_back(Path(folder ? entry.name.substr(0, entry.name.size() - 1) : entry.name));
        }
        return paths;
    }

    ExtractionJournal journal_;
};

// The first entry takes far longer than the small ones after it, which the other thread
// finishes meanwhile.
TEST_F(ThreadedExtraction, TheJournalKeepsArchiveOrderWhenLaterEntriesFinishFirst) {
    ASSERT_TRUE(CreateDirectoryW(Target().c_str(), nullptr));
    std::vector<ZipEntry> entries = {{"big/first.bin", NoiseBytes(8 << 20, 5)}};
    for (int i = 0; i < 40; ++i) {
        std::string folder = "small" + std::to_string(i % 4) + "/";
        if (i < 4) entries.push_back({folder, ""});
        entries.push_back({folder + "f" + std::to_string(i) + ".txt", std::string(3000 + i, char('a' + i % 26))});
    }
    ASSERT_EQ(Extract(entries), ExtractionResult::Done);
    EXPECT_EQ(journal_.Files(), Paths(entries, false));
    EXPECT_EQ(journal_.FolderEntries(), Paths(entries, true));
    for (const ZipEntry& entry : entries) {
        if (entry.name.back() == '/') continue;
        EXPECT_TRUE(ReadBytes(Path(entry.name)) == entry.data) << entry.name;
    }
}

// The failing entry and a good one are extracted at the same time; the good one ends
// after the failure and is taken back all the same.
TEST_F(ThreadedExtraction, ARollbackTakesBackWhatTheOtherThreadWroteAfterTheFailure) {
    ASSERT_TRUE(CreateDirectoryW(Target().c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(Target(L"keep.txt"), "the user's"));
    ZipEntry bad{"bad/crc.bin", NoiseBytes(4 << 20, 7)};
    bad.badCrc = true;
    std::vector<ZipEntry> entries = {bad, {"good/late.bin", NoiseBytes(6 << 20, 8)}};
    for (int i = 0; i < 20; ++i) entries.push_back({"more/m" + std::to_string(i) + ".txt", std::string(5000, 'm')});
    ASSERT_EQ(Extract(entries), ExtractionResult::Failed);
    RollBackExtraction(journal_);
    EXPECT_EQ(TargetListing(), std::vector<std::wstring>{L"keep.txt"});
}

// A file that was there before is only replaced once every entry before it is out: the
// other thread reaches it while the first entry is still failing, and must leave it be.
TEST_F(ThreadedExtraction, AFileThatWasThereBeforeOutlivesAFailureOfAnEarlierEntry) {
    ASSERT_TRUE(CreateDirectoryW(Target().c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(Target(L"user").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(Target(L"user\\settings.ini"), "the user's"));
    ZipEntry bad{"bad/crc.bin", NoiseBytes(4 << 20, 7)};
    bad.badCrc = true;
    std::vector<ZipEntry> entries = {bad, {"user/settings.ini", "the product's"}};
    for (int i = 0; i < 20; ++i) entries.push_back({"more/m" + std::to_string(i) + ".txt", std::string(5000, 'm')});
    ASSERT_EQ(Extract(entries), ExtractionResult::Failed);
    RollBackExtraction(journal_);
    EXPECT_EQ(ReadBytes(Target(L"user\\settings.ini")), "the user's");
}

// Names that differ only in case name one file: the later entry wins, as one by one,
// although the earlier one is much larger.
TEST_F(ThreadedExtraction, EntriesNamingOneFileAreWrittenInArchiveOrder) {
    const std::string later = "the later entry";
    std::vector<ZipEntry> entries = {{"dup/Same.txt", NoiseBytes(6 << 20, 9)}};
    for (int i = 0; i < 8; ++i) entries.push_back({"other/o" + std::to_string(i) + ".txt", "o"});
    entries.push_back({"DUP/same.TXT", later});
    ASSERT_EQ(Extract(entries), ExtractionResult::Done);
    EXPECT_EQ(ReadBytes(Path("dup/Same.txt")), later);
    ASSERT_EQ(journal_.Files().size(), entries.size());
    EXPECT_EQ(journal_.Files().front(), Path("dup/Same.txt"));
    EXPECT_EQ(journal_.Files().back(), Path("DUP/same.TXT"));
}

// Every thread asks before each entry; once told, none starts another, and the journal
// holds every file that was written.
TEST_F(ThreadedExtraction, EveryThreadAsksBeforeEachEntryAndAStopLeavesNothingUnjournaled) {
    std::vector<ZipEntry> entries;
    for (int i = 0; i < 60; ++i) entries.push_back({"s/e" + std::to_string(i) + ".bin", NoiseBytes(200000, uint32_t(i))});
    std::mutex lock;
    std::set<DWORD> askers;
    std::atomic<int> asked{0};
    auto stop = [&] {
        {
            std::lock_guard<std::mutex> hold(lock);
            askers.insert(GetCurrentThreadId());
        }
        return ++asked > 12;
    };
    ASSERT_EQ(Extract(entries, stop), ExtractionResult::Stopped);
    EXPECT_EQ(askers.size(), size_t(kThreads));
    // Asked once per entry started, and once more by each thread that was told to stop.
    EXPECT_LE(journal_.Files().size(), 12u);
    EXPECT_LE(asked.load(), 12 + int(kThreads));
    std::vector<std::wstring> written;
    for (const std::wstring& name : FolderListing(Target(L"s"))) written.push_back(Target(L"s\\" + name));
    std::vector<std::wstring> journaled = journal_.Files();
    for (std::wstring& path : journaled) path = target_ + L"\\s\\" + path.substr(path.find_last_of(L'/') + 1);
    std::sort(journaled.begin(), journaled.end());
    EXPECT_EQ(written, journaled);
    RollBackExtraction(journal_);
    EXPECT_FALSE(Exists(Target()));
}

}  // namespace
}  // namespace testing
}  // namespace kestro
