#pragma once
// Files and folders for the Windows test programs and benches: where the build put the
// programs, scratch folders, whole files read and written. Plain system calls only, so
// what a test checks with them never goes through the product code it tests.
#include <windows.h>

#include <string>
#include <vector>

namespace kestro::test {

// The folder of the running program: the build puts every test, fixture and bench program there.
std::wstring BinFolder();
// The system's temporary folder, ending with a backslash.
std::wstring TempFolder();
// `stem`, then a part no other call of any running test gives.
std::wstring UniqueName(const std::wstring& stem);

bool Exists(const std::wstring& path);
bool IsFolder(const std::wstring& path);

// The whole file; empty when it cannot be read.
std::string ReadBytes(const std::wstring& path);
// Replaces the file with `bytes`; false when it cannot be written whole.
[[nodiscard]] bool WriteBytes(const std::wstring& path, const std::string& bytes);

struct FolderEntry {
    std::wstring name;
    bool folder = false;
};
// What FindFirstFileW finds for `pattern` (a folder, a backslash and a wildcard), without
// "." and "..", in the order the system gives.
std::vector<FolderEntry> FindEntries(const std::wstring& pattern);
// Removes the folder and everything in it, read-only files too; true when it is gone.
bool RemoveFolderTree(const std::wstring& folder);

// A fresh folder, removed with everything in it when the holder ends.
class ScratchFolder {
public:
    // Under the temporary folder, named UniqueName(stem).
    explicit ScratchFolder(const std::wstring& stem = L"kestro_test");
    // Exactly `path`, emptied first when an earlier run left it behind.
    struct AtPath {};
    ScratchFolder(AtPath, const std::wstring& path);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Whether the folder was made.
    bool Made() const { return made_; }
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }
    // Leaves the folder behind, for a look at what a failed test left.
    void Keep() { keep_ = true; }

private:
    std::wstring path_;
    bool made_ = false;
    bool keep_ = false;
};

}  // namespace kestro::test
