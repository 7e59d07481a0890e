#pragma once
// What one extraction created, in the order it happened: the files and folder entries
// that go into the uninstall record, and every folder the run made (parents
// included), which only a rollback uses.
#include <string>
#include <vector>

#include "services/json/jvalue.h"

namespace kestro {

class ExtractionJournal {
public:
    void AddFile(const std::wstring& path) { files_.push_back(path); }
    // A folder entry of the archive; recorded whether or not this run created it.
    void AddFolderEntry(const std::wstring& path) { folderEntries_.push_back(path); }
    // A folder this run created (a folder entry or a missing parent of anything).
    void AddCreatedFolder(const std::wstring& path) { createdFolders_.push_back(path); }

    const std::vector<std::wstring>& Files() const { return files_; }
    const std::vector<std::wstring>& FolderEntries() const { return folderEntries_; }

    // Folders to remove after the files on a rollback: the created ones, newest
    // first, so children go before their parents. Removal leaves non-empty folders.
    std::vector<std::wstring> FoldersToRemoveOnRollback() const;

private:
    std::vector<std::wstring> files_;
    std::vector<std::wstring> folderEntries_;
    std::vector<std::wstring> createdFolders_;
};

// The folders that creating `folder` with all its parents makes, outermost first:
// every ancestor after the deepest one `exists` reports. Paths are "\"-separated or
// "/"-separated as given; a drive root is never listed.
template <class Exists>
std::vector<std::wstring> MissingFolderChain(const std::wstring& folder, Exists exists);

// The uninstall record of an install into `root`: mode 0, the installer record's
// "shortcut" under "setup", the root and every path as Base64 of its UTF-8 bytes,
// the channel, and "uninstrun" only when the installer record has one.
JValue BuildUninstallRecord(const JValue& config, const std::wstring& root, int channel,
                            const ExtractionJournal& journal);

template <class Exists>
std::vector<std::wstring> MissingFolderChain(const std::wstring& folder, Exists exists) {
    std::vector<std::wstring> missing;
    std::wstring path = folder;
    while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    while (path.size() > 2 && !exists(path)) {
        missing.insert(missing.begin(), path);
        size_t cut = path.find_last_of(L"\\/");
        if (cut == std::wstring::npos) break;
        path.erase(cut);
    }
    return missing;
}

}  // namespace kestro
