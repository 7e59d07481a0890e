#include "setup/workers/archive_extraction.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "unzip.h"
#include "services/base/path_queries.h"
#include "services/encoding/text_convert.h"
#include "setup/engine/file_io.h"
#include "setup/engine/folders.h"
#include "setup/engine/thread_group.h"
#include "setup/workers/buffered_zip_io.h"
#include "setup/workers/entry_data.h"
#include "setup/workers/entry_name_rules.h"
#include "setup/workers/extraction_schedule.h"
#include "setup/workers/folder_cache.h"
#include "setup/workers/installed_items.h"
#include "setup/workers/output_file.h"
#include "setup/workers/worker_system.h"

namespace kestro {
namespace {

// General-purpose flag bit 11: the entry name is UTF-8, not the system code page.
constexpr unsigned long kUtf8NameFlag = 1u << 11;
// The other threads' handles read only headers through minizip; the data goes around it.
constexpr size_t kHeaderWindowBytes = 16384;
// Beyond this many, threads only queue for the same disk and file-system locks.
constexpr unsigned kMostThreads = 8;

struct ZipCloser {
    void operator()(void* zip) const { unzClose(static_cast<unzFile>(zip)); }
};
using UniqueZip = std::unique_ptr<void, ZipCloser>;

UniqueZip OpenZip(ByteSource& archive, size_t windowBytes) {
    zlib_filefunc64_def io = BufferedZipFunctions(windowBytes);
    return UniqueZip(unzOpen2_64(static_cast<ByteSource*>(&archive), &io));
}

// Two entries write the same file when their paths differ only in separators or case.
std::wstring TargetKey(const std::wstring& path) {
    std::wstring key = BackslashPath(path);
    if (!key.empty()) CharUpperBuffW(&key[0], DWORD(key.size()));
    return key;
}

// The current entry as the central directory lists it. False for a read error, a name
// that does not fit or holds a NUL, and a name the rules refuse.
bool PlanEntry(unzFile zip, const std::wstring& targetFolder, PlannedEntry& planned) {
    unz_file_info64 info;
    char buffer[kEntryNameBufferBytes];
    if (unzGetCurrentFileInfo64(zip, &info, buffer, sizeof buffer, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
    // A name that does not fit, or holds a NUL, would be read as another name.
    if (!EntryNameFits(info.size_filename) || strlen(buffer) != info.size_filename) return false;
    ConversionArena arena;
    std::wstring raw = ToWide(buffer, arena, (info.flag & kUtf8NameFlag) ? CP_UTF8 : CP_ACP);
    EntryName entry;
    if (!ParseEntryName(TrimEntryName(raw), entry)) return false;
    unz64_file_pos position;
    if (unzGetFilePos64(zip, &position) != UNZ_OK) return false;
    planned.isFolder = entry.isFolder;
    planned.path = targetFolder + L"\\" + entry.relative;
    planned.data.compressedSize = info.compressed_size;
    planned.data.size = info.uncompressed_size;
    planned.data.crc = static_cast<uint32_t>(info.crc);
    planned.data.method = int(info.compression_method);
    planned.directoryPosition = position.pos_in_zip_directory;
    planned.entryNumber = position.num_of_file;
    return true;
}

// Every entry up to the first that cannot be read from the directory. False when the
// walk stopped at such an entry (or a damaged directory part way): the extraction then
// fails once the entries before it are out, as it would reaching it one by one.
bool PlanEntries(unzFile zip, const std::wstring& targetFolder, std::vector<PlannedEntry>& entries) {
    if (unzGoToFirstFile(zip) != UNZ_OK) return false;
    for (;;) {
        PlannedEntry planned;
        if (!PlanEntry(zip, targetFolder, planned)) return false;
        entries.push_back(std::move(planned));
        int next = unzGoToNextFile(zip);
        if (next == UNZ_END_OF_LIST_OF_FILE) return true;
        if (next != UNZ_OK) return false;
    }
}

// What the threads of one extraction share.
struct Extraction {
    Extraction(ByteSource& source, const std::vector<PlannedEntry>& planned, const std::function<bool()>& stop)
        : archive(source),
          entries(planned),
          stopRequested(stop),
          outcomes(planned.size()),
          folders(FolderExists, EnsureFolder) {
        std::vector<std::wstring> keys;
        std::vector<uint64_t> sizes;
        keys.reserve(entries.size());
        sizes.reserve(entries.size());
        for (const PlannedEntry& entry : entries) {
            keys.push_back(TargetKey(entry.path));
            sizes.push_back(entry.data.size);
        }
        groups = SameTargetGroups(keys);
        order = ShareOutOrder(groups, sizes);
        queue.reset(new GroupQueue(order.size()));
    }

    ByteSource& archive;
    const std::vector<PlannedEntry>& entries;
    const std::function<bool()>& stopRequested;
    std::vector<std::vector<size_t>> groups;
    std::vector<size_t> order;  // of the groups, as handed out
    std::unique_ptr<GroupQueue> queue;
    // One slot per entry, written only by the thread that extracts it.
    std::vector<EntryOutcome> outcomes;
    FolderCache folders;
    MovedAsideFile movedAside;
    std::atomic<bool> failed{false};
    std::atomic<bool> stopped{false};
    // Entries whose file is already there, left for the pass in archive order.
    std::mutex deferredLock;
    std::vector<size_t> deferred;
};

// The threads only create files that do not exist yet: what they write past an entry that
// fails is new, and the rollback takes all of it back. An existing file (the user's, or one
// a running program holds) is replaced only once every entry before it is out, as it is
// when the entries go one by one, so a failure never costs a file that was there before.
enum class Pass { Threaded, InArchiveOrder };
enum class EntryResult { Done, Failed, Deferred };

EntryResult ExtractFile(Extraction& run, unzFile zip, EntryDataDecoder& decoder, size_t index, Pass pass) {
    const PlannedEntry& entry = run.entries[index];
    size_t cut = entry.path.find_last_of(L"\\/");
    if (cut == std::wstring::npos || !run.folders.Ensure(BackslashPath(entry.path.substr(0, cut)))) {
        return EntryResult::Failed;
    }
    // minizip checks the local header; the data is read from the position it finds.
    unz64_file_pos position = {entry.directoryPosition, entry.entryNumber};
    if (unzGoToFilePos64(zip, &position) != UNZ_OK) return EntryResult::Failed;
    int method = 0, level = 0;
    if (unzOpenCurrentFile2(zip, &method, &level, 1) != UNZ_OK) return EntryResult::Failed;
    EntryData data = entry.data;
    data.position = unzGetCurrentFileZStreamPos64(zip);
    unzCloseCurrentFile(zip);

    UniqueFile out = pass == Pass::Threaded ? CreateNewOutputFile(entry.path) : OpenOutputFile(entry.path, run.movedAside);
    if (!out) return pass == Pass::Threaded ? EntryResult::Deferred : EntryResult::Failed;
    // Recorded before the copy, so a failure part way removes the partial file too.
    run.outcomes[index].recorded = true;
    HANDLE file = out.get();
    bool written = decoder.Decode(run.archive, data, [file](const unsigned char* bytes, size_t count) {
        return WriteToHandle(file, bytes, count);
    });
    out.reset();
    run.movedAside.CleanUp(false);
    return written ? EntryResult::Done : EntryResult::Failed;
}

EntryResult ExtractEntry(Extraction& run, unzFile zip, EntryDataDecoder& decoder, size_t index, Pass pass) {
    const PlannedEntry& entry = run.entries[index];
    if (!entry.isFolder) return ExtractFile(run, zip, decoder, index, pass);
    if (!run.folders.Ensure(BackslashPath(entry.path))) return EntryResult::Failed;
    run.outcomes[index].recorded = true;
    return EntryResult::Done;
}

// False when the extraction is to end here: a failure, or a stop that was asked for.
bool StartsEntry(Extraction& run) {
    if (run.failed.load()) return false;
    if (run.stopRequested && run.stopRequested()) {
        run.stopped.store(true);
        run.queue->Close();
        return false;
    }
    return true;
}

// One thread's share: groups taken from the queue until it is empty or closed.
void ExtractShare(Extraction& run, unzFile zip) {
    EntryDataDecoder decoder;
    size_t next = 0;
    while (run.queue->Take(next)) {
        const std::vector<size_t>& group = run.groups[run.order[next]];
        for (size_t i = 0; i < group.size(); ++i) {
            if (!StartsEntry(run)) return;
            const EntryResult result = ExtractEntry(run, zip, decoder, group[i], Pass::Threaded);
            if (result == EntryResult::Failed) {
                run.failed.store(true);
                run.queue->Close();
                return;
            }
            if (result == EntryResult::Deferred) {
                // The rest of the group names the same file and must come after it.
                std::lock_guard<std::mutex> hold(run.deferredLock);
                run.deferred.insert(run.deferred.end(), group.begin() + i, group.end());
                break;
            }
        }
    }
}

// The entries whose file was already there, one by one in archive order, once all the
// others are out.
void ExtractDeferred(Extraction& run, unzFile zip) {
    std::sort(run.deferred.begin(), run.deferred.end());
    EntryDataDecoder decoder;
    for (size_t index : run.deferred) {
        if (!StartsEntry(run)) return;
        if (ExtractEntry(run, zip, decoder, index, Pass::InArchiveOrder) != EntryResult::Done) {
            run.failed.store(true);
            return;
        }
    }
}

unsigned ThreadsFor(unsigned asked, size_t groups) {
    unsigned threads = asked ? asked : ProcessorCount();
    threads = std::min(threads, kMostThreads);
    if (groups < threads) threads = unsigned(groups);
    return std::max(threads, 1u);
}

}  // namespace

ExtractionResult ExtractArchive(ByteSource& archive, const std::wstring& targetFolder, ExtractionJournal& journal,
                                const std::function<bool()>& stopRequested, unsigned threads) {
    UniqueZip zip = OpenZip(archive, BufferedByteReader::kDefaultWindowBytes);
    if (!zip) return ExtractionResult::NotAnArchive;
    unzFile walk = static_cast<unzFile>(zip.get());

    unz_global_info64 global;
    if (unzGetGlobalInfo64(walk, &global) != UNZ_OK) return ExtractionResult::NotAnArchive;
    if (global.number_entry == 0) return ExtractionResult::Done;

    std::vector<PlannedEntry> entries;
    const bool walked = PlanEntries(walk, targetFolder, entries);
    Extraction run(archive, entries, stopRequested);
    RunOnThreads(ThreadsFor(threads, run.order.size()), [&run, &archive, walk](unsigned index) {
        if (index == 0) {
            ExtractShare(run, walk);
            return;
        }
        UniqueZip own = OpenZip(archive, kHeaderWindowBytes);
        if (own) ExtractShare(run, static_cast<unzFile>(own.get()));
    });
    if (!run.failed.load() && !run.stopped.load()) ExtractDeferred(run, walk);
    run.movedAside.CleanUp(true);
    MergeIntoJournal(entries, run.outcomes, run.folders.Made(), journal);
    if (run.failed.load()) return ExtractionResult::Failed;
    if (run.stopped.load()) return ExtractionResult::Stopped;
    return walked ? ExtractionResult::Done : ExtractionResult::Failed;
}

void RollBackExtraction(const ExtractionJournal& journal) {
    for (const std::wstring& file : journal.Files()) DeleteFileW(file.c_str());
    for (const std::wstring& folder : journal.FoldersToRemoveOnRollback()) RemoveDirectoryW(folder.c_str());
}

}  // namespace kestro
