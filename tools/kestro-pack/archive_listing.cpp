#include "unzip.h"

#include "archive_listing.h"

#include <algorithm>

#include "memory_zip_io.h"
#include "product_archive.h"

namespace kestro {
namespace {

constexpr size_t kNameBytes = kMaxEntryNameBytes + 1;
constexpr unsigned kReadPiece = 1 << 16;

bool ReadThrough(unzFile archive, const std::string& name, std::string& error) {
    if (unzOpenCurrentFile(archive) != UNZ_OK) {
        error = "damaged archive: cannot open entry " + name;
        return false;
    }
    std::string piece(kReadPiece, '\0');
    int got = 0;
    while ((got = unzReadCurrentFile(archive, &piece[0], kReadPiece)) > 0) {
    }
    int closed = unzCloseCurrentFile(archive);
    if (got < 0 || closed != UNZ_OK) {
        error = "damaged archive: bad data in entry " + name;
        return false;
    }
    return true;
}

}  // namespace

bool ListArchive(std::string zip, const NameCodec& codec, unsigned codePage, std::vector<ListedEntry>& entries,
                 std::string& error) {
    entries.clear();
    zlib_filefunc64_def functions = MemoryZipFunctions(&zip);
    unzFile archive = unzOpen2_64("", &functions);
    if (!archive) {
        error = "damaged archive: not a ZIP archive";
        return false;
    }
    bool ok = true;
    int step = unzGoToFirstFile(archive);
    while (ok && step == UNZ_OK) {
        unz_file_info64 info = {};
        char stored[kNameBytes] = {};
        if (unzGetCurrentFileInfo64(archive, &info, stored, sizeof stored, nullptr, 0, nullptr, 0) != UNZ_OK) {
            error = "damaged archive: unreadable entry";
            ok = false;
            break;
        }
        if (info.size_filename >= sizeof stored) {
            error = "damaged archive: entry name longer than " + std::to_string(kMaxEntryNameBytes) + " bytes";
            ok = false;
            break;
        }
        std::string raw(stored, info.size_filename);
        ListedEntry entry;
        bool ascii = std::all_of(raw.begin(), raw.end(), [](char c) { return (c & 0x80) == 0; });
        if (ascii || codePage == kUtf8CodePage) {
            entry.name = raw;
        } else if (!codec.ToUtf8(raw, codePage, entry.name)) {
            error = "entry name is not valid in code page " + std::to_string(codePage);
            ok = false;
            break;
        }
        entry.folder = !entry.name.empty() && entry.name.back() == '/';
        entry.size = info.uncompressed_size;
        entry.compressedSize = info.compressed_size;
        entry.crc = uint32_t(info.crc);
        if (!ReadThrough(archive, entry.name, error)) {
            ok = false;
            break;
        }
        entries.push_back(entry);
        step = unzGoToNextFile(archive);
    }
    if (ok && step != UNZ_END_OF_LIST_OF_FILE) {
        error = "damaged archive: broken entry list";
        ok = false;
    }
    unzClose(archive);
    return ok;
}

}  // namespace kestro
