#include "tests/win/support/test_files.h"

#include <algorithm>

#include "services/win/unique_handle.h"

namespace kestro::test {

std::wstring BinFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring self(path, length);
    return self.substr(0, self.find_last_of(L'\\'));
}

std::wstring TempFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    return std::wstring(folder, length);
}

std::wstring UniqueName(const std::wstring& stem) {
    static LONG counter = 0;
    return stem + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(GetTickCount()) + L"_" +
           std::to_wstring(InterlockedIncrement(&counter));
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadBytes(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    if (!file) return bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD piece = DWORD(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data() + done, piece, &written, nullptr) || written != piece) return false;
        done += piece;
    }
    return true;
}

std::vector<FolderEntry> FindEntries(const std::wstring& pattern) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAW found;
    UniqueFind search(FindFirstFileW(pattern.c_str(), &found));
    if (!search) return entries;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(search.get(), &found));
    return entries;
}

bool RemoveFolderTree(const std::wstring& folder) {
    for (const FolderEntry& entry : FindEntries(folder + L"\\*")) {
        const std::wstring path = folder + L"\\" + entry.name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (entry.folder) {
            RemoveFolderTree(path);
        } else {
            DeleteFileW(path.c_str());
        }
    }
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(folder.c_str());
    return !Exists(folder);
}

ScratchFolder::ScratchFolder(const std::wstring& stem) : path_(TempFolder() + UniqueName(stem)) {
    made_ = CreateDirectoryW(path_.c_str(), nullptr) != FALSE;
}

ScratchFolder::ScratchFolder(AtPath, const std::wstring& path) : path_(path) {
    RemoveFolderTree(path_);
    made_ = CreateDirectoryW(path_.c_str(), nullptr) != FALSE;
}

ScratchFolder::~ScratchFolder() {
    if (!keep_) RemoveFolderTree(path_);
}

}  // namespace kestro::test
