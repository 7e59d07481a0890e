#include "zip.h"

#include "product_archive.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "memory_zip_io.h"

namespace kestro {
namespace fs = std::filesystem;
namespace {

// 1980-01-01 00:00:00, the earliest DOS date: no clock reaches the archive.
constexpr uLong kFixedDosDate = (1u << 21) | (1u << 16);
constexpr uLong kFolderAttributes = 0x10;  // FILE_ATTRIBUTE_DIRECTORY
constexpr uLong kFileAttributes = 0x20;    // FILE_ATTRIBUTE_ARCHIVE
constexpr size_t kCopyPiece = 1 << 20;
constexpr uint64_t kMaxFileBytes = 0xFFFFFFFFull;

std::string Utf8Name(const fs::path& path) {
    auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

bool Walk(const fs::path& folder, const std::string& prefix, const NameCodec& codec, unsigned codePage,
          std::vector<ArchiveEntry>& entries, std::string& error) {
    std::error_code ec;
    std::vector<std::pair<std::string, fs::path>> children;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        children.emplace_back(Utf8Name(it->path().filename()), it->path());
    }
    if (ec) {
        error = "cannot read folder " + Utf8Name(folder) + ": " + ec.message();
        return false;
    }
    std::sort(children.begin(), children.end());
    for (const auto& [leaf, path] : children) {
        const std::string name = prefix + leaf;
        if (!IsPortableFileName(leaf)) {
            error = "name not allowed in a Windows package: " + name;
            return false;
        }
        fs::file_status status = fs::symlink_status(path, ec);
        if (ec || fs::is_symlink(status)) {
            error = ec ? "cannot read " + name + ": " + ec.message() : "symbolic links are not packed: " + name;
            return false;
        }
        ArchiveEntry entry;
        entry.folder = fs::is_directory(status);
        if (!entry.folder && !fs::is_regular_file(status)) {
            error = "not a regular file: " + name;
            return false;
        }
        entry.name = entry.folder ? name + "/" : name;
        entry.source = path;
        bool ascii = std::all_of(entry.name.begin(), entry.name.end(), [](char c) { return (c & 0x80) == 0; });
        if (ascii || codePage == kUtf8CodePage) {
            entry.storedName = entry.name;
        } else if (!codec.FromUtf8(entry.name, codePage, entry.storedName)) {
            error = "name cannot be written in code page " + std::to_string(codePage) + ": " + entry.name;
            return false;
        }
        if (entry.storedName.size() > kMaxEntryNameBytes) {
            error = "name longer than " + std::to_string(kMaxEntryNameBytes) + " bytes: " + entry.name;
            return false;
        }
        entries.push_back(entry);
        if (entry.folder && !Walk(path, entry.name, codec, codePage, entries, error)) return false;
    }
    return true;
}

bool AddEntry(zipFile zip, const ArchiveEntry& entry, std::string& error) {
    zip_fileinfo info = {};
    info.dosDate = kFixedDosDate;
    info.external_fa = entry.folder ? kFolderAttributes : kFileAttributes;
    int method = entry.folder ? 0 : Z_DEFLATED;
    int level = entry.folder ? 0 : Z_DEFAULT_COMPRESSION;
    if (zipOpenNewFileInZip3_64(zip, entry.storedName.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method, level,
                                0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, 0) != ZIP_OK) {
        error = "cannot add to the archive: " + entry.name;
        return false;
    }
    bool ok = true;
    if (!entry.folder) {
        std::ifstream in(entry.source, std::ios::binary);
        if (!in) {
            error = "cannot read " + entry.name;
            ok = false;
        }
        std::string piece(kCopyPiece, '\0');
        uint64_t total = 0;
        while (ok && in) {
            in.read(&piece[0], std::streamsize(piece.size()));
            std::streamsize got = in.gcount();
            if (got <= 0) break;
            total += uint64_t(got);
            if (total > kMaxFileBytes) {
                error = "file of 4 GiB or more: " + entry.name;
                ok = false;
            } else if (zipWriteInFileInZip(zip, piece.data(), unsigned(got)) != ZIP_OK) {
                error = "cannot compress " + entry.name;
                ok = false;
            }
        }
        if (ok && in.bad()) {
            error = "cannot read " + entry.name;
            ok = false;
        }
    }
    if (zipCloseFileInZip(zip) != ZIP_OK && ok) {
        error = "cannot finish " + entry.name;
        ok = false;
    }
    return ok;
}

}  // namespace

bool IsPortableFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (unsigned char c : name) {
        if (c < 0x20 || std::string("\\/:*?\"<>|").find(char(c)) != std::string::npos) return false;
    }
    // Windows drops trailing dots and blanks, which would merge or rename entries.
    return name.back() != '.' && name.back() != ' ';
}

bool CollectProductEntries(const fs::path& root, const NameCodec& codec, unsigned codePage,
                           std::vector<ArchiveEntry>& entries, std::string& error) {
    std::error_code ec;
    if (!fs::is_directory(root, ec)) {
        error = "product folder does not exist: " + Utf8Name(root);
        return false;
    }
    if (codePage != kUtf8CodePage && !codec.Supports(codePage)) {
        error = "code page " + std::to_string(codePage) + " is not available";
        return false;
    }
    entries.clear();
    return Walk(root, "", codec, codePage, entries, error);
}

bool WriteProductArchive(const std::vector<ArchiveEntry>& entries, std::string& zip, std::string& error) {
    zip.clear();
    zlib_filefunc64_def functions = MemoryZipFunctions(&zip);
    zipFile archive = zipOpen2_64("", APPEND_STATUS_CREATE, nullptr, &functions);
    if (!archive) {
        error = "cannot create the archive";
        return false;
    }
    bool ok = true;
    for (const ArchiveEntry& entry : entries) {
        if (!AddEntry(archive, entry, error)) {
            ok = false;
            break;
        }
    }
    if (zipClose(archive, nullptr) != ZIP_OK && ok) {
        error = "cannot finish the archive";
        ok = false;
    }
    return ok;
}

}  // namespace kestro
