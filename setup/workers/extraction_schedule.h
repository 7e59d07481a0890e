#pragma once
// How the threads of one extraction share its entries out: one group at a time from one
// shared position, so a thread takes the next group as soon as it is done with its last.
// The large groups go first, largest first, and the rest follow in archive order, so the
// bytes each thread writes even out to within one small entry (a large one handed out
// last would leave the other threads idle). What the threads wrote is put back together
// in archive order afterwards, so the journal reads as if the entries had been extracted
// one by one.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "setup/workers/entry_data.h"
#include "setup/workers/install_journal.h"

namespace kestro {

// One entry as the archive's central directory lists it, ready to extract.
struct PlannedEntry {
    bool isFolder = false;
    std::wstring path;  // target folder + "\" + the name as stored
    EntryData data;     // files only; the position is filled in when the entry is opened
    // Where minizip finds the entry again (its unz64_file_pos).
    uint64_t directoryPosition = 0;
    uint64_t entryNumber = 0;
};

// Entries that name the same target (equal `keys`) form one group, in archive order, so
// one thread extracts them one after the other and the later one wins, as it does one
// by one. Groups are listed in the order of their first entry.
std::vector<std::vector<size_t>> SameTargetGroups(const std::vector<std::wstring>& keys);

// Groups of at least this many bytes (uncompressed) are handed out before the rest.
constexpr uint64_t kLargeGroupBytes = 1 << 20;

// The order in which the groups are handed out: those of at least `largeBytes` by
// decreasing size (archive order among equals), then the others in archive order.
std::vector<size_t> ShareOutOrder(const std::vector<std::vector<size_t>>& groups, const std::vector<uint64_t>& sizes,
                                  uint64_t largeBytes = kLargeGroupBytes);

// Hands out the positions 0, 1, 2 ... of the share-out order to any number of threads;
// after Close none.
class GroupQueue {
public:
    explicit GroupQueue(size_t groups) : groups_(groups) {}
    bool Take(size_t& group) {
        if (closed_.load()) return false;
        group = next_.fetch_add(1);
        return group < groups_;
    }
    void Close() { closed_.store(true); }

private:
    const size_t groups_;
    std::atomic<size_t> next_{0};
    std::atomic<bool> closed_{false};
};

// Set by the thread that extracts the entry: a file that was opened for writing (and so
// may hold bytes to take back), or a folder entry that was made.
struct EntryOutcome {
    bool recorded = false;
};

// The journal of the whole extraction: recorded files and folder entries in archive
// order, then the folders made, in the order they were made.
void MergeIntoJournal(const std::vector<PlannedEntry>& entries, const std::vector<EntryOutcome>& outcomes,
                      const std::vector<std::wstring>& madeFolders, ExtractionJournal& journal);

}  // namespace kestro
