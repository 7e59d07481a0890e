#include "setup/workers/folder_cache.h"

#include "setup/workers/install_journal.h"

namespace kestro {

FolderCache::FolderCache(Exists exists, Make make) : exists_(std::move(exists)), make_(std::move(make)) {}

bool FolderCache::Ensure(const std::wstring& folder) {
    std::lock_guard<std::mutex> hold(lock_);
    if (known_.count(folder)) return true;
    auto exists = [this](const std::wstring& path) {
        if (known_.count(path)) return true;
        if (!exists_(path)) return false;
        known_.insert(path);
        return true;
    };
    std::vector<std::wstring> missing = MissingFolderChain(folder, exists);
    if (missing.empty() && known_.count(folder)) return true;
    const bool made = make_(folder);
    for (const std::wstring& path : missing) {
        // After a failure only what exists now was made; it may have stopped part way.
        if (!made && !exists_(path)) continue;
        made_.push_back(path);
        known_.insert(path);
    }
    if (made) known_.insert(folder);
    return made;
}

std::vector<std::wstring> FolderCache::Made() const {
    std::lock_guard<std::mutex> hold(lock_);
    return made_;
}

}  // namespace kestro
