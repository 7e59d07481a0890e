#include "setup/workers/extraction_schedule.h"

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
