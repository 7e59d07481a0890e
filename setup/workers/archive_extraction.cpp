#include "setup/workers/archive_extraction.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "unzip.h"
#include "services/encoding/text_convert.h"
#include "setup/engine/folders.h"
#include "setup/engine/processes.h"
#include "setup/engine/shell_file_ops.h"
#include "setup/workers/buffered_zip_io.h"
#include "setup/workers/entry_name_rules.h"
#include "setup/workers/installed_items.h"
#include "setup/workers/worker_system.h"

namespace kestro {
namespace {

constexpr size_t kCopyBufferBytes = 524288;
constexpr DWORD kAfterKillDelayMs = 1000;
// General-purpose flag bit 11: the entry name is UTF-8, not the system code page.
constexpr unsigned long kUtf8NameFlag = 1u << 11;

struct ZipCloser {
    void operator()(void* zip) const { unzClose(static_cast<unzFile>(zip)); }
};
using UniqueZip = std::unique_ptr<void, ZipCloser>;

struct FileCloser {
    void operator()(FILE* file) const { fclose(file); }
};
using UniqueStdFile = std::unique_ptr<FILE, FileCloser>;

// A locked file moved aside to ".old" during this run; deleted once nothing holds it.
// One at a time: the install thread is the only user.
std::wstring& MovedAsidePath() {
    static std::wstring path;
    return path;
}

// Tries to delete the remembered ".old" file; a file still held stays remembered.
void CleanUpMovedAside(bool lastChance) {
    std::wstring& old = MovedAsidePath();
    if (old.empty()) return;
    if (!PathExists(old) || DeleteFileW(old.c_str())) {
        old.clear();
    } else if (lastChance) {
        MoveFileExW(old.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        old.clear();
    }
}

void RememberMovedAside(const std::wstring& path) {
    std::wstring& old = MovedAsidePath();
    if (!old.empty() && old != path && PathExists(old)) {
        MoveFileExW(old.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
    old = path;
}

// Creates the folder with its parents and journals each folder that did not exist.
bool CreateFolderJournaled(const std::wstring& name, ExtractionJournal& journal) {
    // The shell's folder creation does not take the archive's forward slashes.
    std::wstring folder = BackslashPath(name);
    std::vector<std::wstring> missing = MissingFolderChain(folder, FolderExists);
    // Most entries land in a folder that already exists: no shell call for them.
    if (missing.empty() && FolderExists(folder)) return true;
    bool created = EnsureFolder(folder);
    for (const std::wstring& path : missing) {
        if (FolderExists(path)) journal.AddCreatedFolder(path);
    }
    return created;
}

// "wb", and when a running program holds the file: stop it, or move the file aside.
UniqueStdFile OpenOutput(const std::wstring& path) {
    UniqueStdFile file(_wfopen(path.c_str(), L"wb"));
    if (file) return file;
    std::wstring owner;
    // Module lists name files with backslashes; archive names bring forward slashes.
    if (FindProcessUsingFile(BackslashPath(path), owner)) {
        KillProcessesByName(owner);
        Sleep(kAfterKillDelayMs);
        file.reset(_wfopen(path.c_str(), L"wb"));
        if (file) return file;
    }
    // Only a file is moved aside: a folder of that name is never touched.
    if (!FolderExists(path) && !DeleteFileW(path.c_str())) {
        std::wstring old = path + L".old";
        if (MovePath(old, path)) RememberMovedAside(old);
    }
    file.reset(_wfopen(path.c_str(), L"wb"));
    return file;
}

// What the central directory says the entry's data must come to.
struct EntryDigest {
    uint64_t size = 0;
    uint32_t crc = 0;
};

bool ReadEntryName(unzFile zip, std::wstring& name, EntryDigest& expected) {
    unz_file_info64 info;
    char buffer[kEntryNameBufferBytes];
    if (unzGetCurrentFileInfo64(zip, &info, buffer, sizeof buffer, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
    // A name that does not fit, or holds a NUL, would be read as another name.
    if (!EntryNameFits(info.size_filename) || strlen(buffer) != info.size_filename) return false;
    ConversionArena arena;
    name = ToWide(buffer, arena, (info.flag & kUtf8NameFlag) ? CP_UTF8 : CP_ACP);
    expected.size = info.uncompressed_size;
    expected.crc = static_cast<uint32_t>(info.crc);
    return true;
}

// The bytes written must be the directory's size and CRC. minizip checks the CRC only
// once the whole declared size was read: a deflate stream that ends early reads as a
// clean end of data, and the short file would pass.
bool CopyEntry(unzFile zip, FILE* out, std::vector<char>& buffer, const EntryDigest& expected) {
    EntryDigest written;
    uLong crc = crc32(0L, Z_NULL, 0);
    for (;;) {
        int read = unzReadCurrentFile(zip, buffer.data(), static_cast<unsigned>(buffer.size()));
        if (read == 0) break;
        if (read < 0) return false;
        if (fwrite(buffer.data(), 1, static_cast<size_t>(read), out) != static_cast<size_t>(read)) return false;
        crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer.data()), static_cast<uInt>(read));
        written.size += static_cast<uint64_t>(read);
    }
    written.crc = static_cast<uint32_t>(crc);
    return written.size == expected.size && written.crc == expected.crc;
}

bool ExtractFileEntry(unzFile zip, const std::wstring& path, ExtractionJournal& journal, std::vector<char>& buffer,
                      const EntryDigest& expected) {
    size_t cut = path.find_last_of(L"\\/");
    if (cut == std::wstring::npos || !CreateFolderJournaled(path.substr(0, cut), journal)) return false;
    if (unzOpenCurrentFile(zip) != UNZ_OK) return false;
    UniqueStdFile out = OpenOutput(path);
    if (!out) {
        unzCloseCurrentFile(zip);
        return false;
    }
    // Journaled before the copy, so a failure part way removes the partial file too.
    journal.AddFile(path);
    bool copied = CopyEntry(zip, out.get(), buffer, expected);
    // A full disk may only show when the last buffered bytes are written at close.
    bool closed = fclose(out.release()) == 0;
    // The CRC is checked when the entry is closed.
    bool verified = unzCloseCurrentFile(zip) == UNZ_OK;
    CleanUpMovedAside(false);
    return copied && closed && verified;
}

bool ExtractEntry(unzFile zip, const std::wstring& targetFolder, ExtractionJournal& journal,
                  std::vector<char>& buffer) {
    std::wstring raw;
    EntryDigest expected;
    if (!ReadEntryName(zip, raw, expected)) return false;
    EntryName entry;
    if (!ParseEntryName(TrimEntryName(raw), entry)) return false;
    std::wstring path = targetFolder + L"\\" + entry.relative;
    if (entry.isFolder) {
        if (!CreateFolderJournaled(path, journal)) return false;
        journal.AddFolderEntry(path);
        return true;
    }
    return ExtractFileEntry(zip, path, journal, buffer, expected);
}

}  // namespace

ExtractionResult ExtractArchive(ByteSource& archive, const std::wstring& targetFolder, ExtractionJournal& journal,
                                const std::function<bool()>& stopRequested) {
    zlib_filefunc64_def io = BufferedZipFunctions();
    UniqueZip zip(unzOpen2_64(static_cast<ByteSource*>(&archive), &io));
    if (!zip) return ExtractionResult::NotAnArchive;
    unzFile handle = static_cast<unzFile>(zip.get());

    unz_global_info64 global;
    if (unzGetGlobalInfo64(handle, &global) != UNZ_OK) return ExtractionResult::NotAnArchive;
    if (global.number_entry == 0) return ExtractionResult::Done;

    std::vector<char> buffer(kCopyBufferBytes);
    bool ok = unzGoToFirstFile(handle) == UNZ_OK;
    bool stopped = false;
    while (ok) {
        if (stopRequested && stopRequested()) {
            stopped = true;
            break;
        }
        if (!ExtractEntry(handle, targetFolder, journal, buffer)) {
            ok = false;
            break;
        }
        int next = unzGoToNextFile(handle);
        if (next == UNZ_END_OF_LIST_OF_FILE) break;
        // A damaged directory part way through is a failure, not the end of the archive.
        ok = next == UNZ_OK;
    }
    CleanUpMovedAside(true);
    if (stopped) return ExtractionResult::Stopped;
    return ok ? ExtractionResult::Done : ExtractionResult::Failed;
}

void RollBackExtraction(const ExtractionJournal& journal) {
    for (const std::wstring& file : journal.Files()) DeleteFileW(file.c_str());
    for (const std::wstring& folder : journal.FoldersToRemoveOnRollback()) RemoveDirectoryW(folder.c_str());
}

}  // namespace kestro
