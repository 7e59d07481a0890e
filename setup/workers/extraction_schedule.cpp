#include "setup/workers/extraction_schedule.h"

#include <algorithm>
#include <unordered_map>

namespace kestro {

std::vector<std::vector<size_t>> SameTargetGroups(const std::vector<std::wstring>& keys) {
    std::vector<std::vector<size_t>> groups;
    std::unordered_map<std::wstring, size_t> groupOf;
    groupOf.reserve(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        auto placed = groupOf.emplace(keys[i], groups.size());
        if (placed.second) groups.emplace_back();
        groups[placed.first->second].push_back(i);
    }
    return groups;
}

std::vector<size_t> ShareOutOrder(const std::vector<std::vector<size_t>>& groups, const std::vector<uint64_t>& sizes,
                                  uint64_t largeBytes) {
    std::vector<uint64_t> bytes(groups.size(), 0);
    std::vector<size_t> large, rest;
    for (size_t g = 0; g < groups.size(); ++g) {
        for (size_t entry : groups[g]) bytes[g] += entry < sizes.size() ? sizes[entry] : 0;
        (bytes[g] >= largeBytes ? large : rest).push_back(g);
    }
    std::stable_sort(large.begin(), large.end(), [&bytes](size_t a, size_t b) { return bytes[a] > bytes[b]; });
    large.insert(large.end(), rest.begin(), rest.end());
    return large;
}

void MergeIntoJournal(const std::vector<PlannedEntry>& entries, const std::vector<EntryOutcome>& outcomes,
                      const std::vector<std::wstring>& madeFolders, ExtractionJournal& journal) {
    for (size_t i = 0; i < entries.size() && i < outcomes.size(); ++i) {
        if (!outcomes[i].recorded) continue;
        if (entries[i].isFolder) {
            journal.AddFolderEntry(entries[i].path);
        } else {
            journal.AddFile(entries[i].path);
        }
    }
    for (const std::wstring& folder : madeFolders) journal.AddCreatedFolder(folder);
}

}  // namespace kestro
