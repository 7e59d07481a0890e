#pragma once
// The folders one extraction has made or seen, shared by its threads. A folder known
// here needs no system call; an unknown one is looked up once and, when missing, made
// with its parents under one lock, so two threads never make the same folder twice and
// every folder the run made is listed once, parents before children.
#include <functional>
#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>

namespace kestro {

class FolderCache {
public:
    using Exists = std::function<bool(const std::wstring& folder)>;
    // Makes the folder with every missing parent; an existing folder is success.
    using Make = std::function<bool(const std::wstring& folder)>;

    FolderCache(Exists exists, Make make);

    // `folder` is "\"-separated, without a trailing separator. True when it exists now.
    bool Ensure(const std::wstring& folder);

    // Every folder this cache made, in the order it made them (parents first).
    std::vector<std::wstring> Made() const;

private:
    Exists exists_;
    Make make_;
    mutable std::mutex lock_;
    std::unordered_set<std::wstring> known_;
    std::vector<std::wstring> made_;
};

}  // namespace kestro
