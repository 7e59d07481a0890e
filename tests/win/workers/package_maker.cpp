#include "package_maker.h"

#include <windows.h>

#include <cstring>

#include "unzip.h"
#include "iowin32.h"
#include "zip.h"
#include "setup/package/package_layout.h"
#include "tests/win/support/test_files.h"

namespace kestro {
namespace testing {
namespace {

std::wstring TempZipPath() {
    wchar_t name[MAX_PATH];
    GetTempFileNameW(test::TempFolder().c_str(), L"kz", 0, name);
    return name;
}

void AppendLe32(std::string& out, uint32_t value) {
    unsigned char bytes[4];
    WriteLe32(bytes, value);
    out.append(reinterpret_cast<char*>(bytes), 4);
}

}  // namespace

std::string NoiseBytes(size_t count, uint32_t seed) {
    std::string out(count, '\0');
    uint32_t x = seed | 1;
    for (size_t i = 0; i < count; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        out[i] = static_cast<char>(x >> 24);
    }
    return out;
}

std::string MakeZip(const std::vector<ZipEntry>& entries) {
    std::wstring path = TempZipPath();
    zlib_filefunc64_def io;
    fill_win32_filefunc64W(&io);
    zipFile zip = zipOpen2_64(path.c_str(), APPEND_STATUS_CREATE, nullptr, &io);
    for (const ZipEntry& entry : entries) {
        zip_fileinfo info = {};
        bool raw = entry.badCrc || entry.badData;
        int method = entry.deflate || raw ? Z_DEFLATED : 0;
        zipOpenNewFileInZip4_64(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method,
                                Z_DEFAULT_COMPRESSION, raw ? 1 : 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY,
                                nullptr, 0, 0, entry.utf8Flag ? (1 << 11) : 0, 0);
        if (!raw) {
            zipWriteInFileInZip(zip, entry.data.data(), static_cast<unsigned>(entry.data.size()));
            zipCloseFileInZip(zip);
            continue;
        }
        // Raw entries carry their own deflate bytes and CRC.
        std::string deflated(entry.data.size() + 64, '\0');
        z_stream stream = {};
        deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(entry.data.data()));
        stream.avail_in = static_cast<uInt>(entry.data.size());
        stream.next_out = reinterpret_cast<Bytef*>(&deflated[0]);
        stream.avail_out = static_cast<uInt>(deflated.size());
        deflate(&stream, Z_FINISH);
        deflated.resize(stream.total_out);
        deflateEnd(&stream);
        uLong crc = crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()), static_cast<uInt>(entry.data.size()));
        if (entry.badCrc) crc ^= 0x5A5A5A5A;
        if (entry.badData) {
            // A block type 3 is invalid: inflate reports a data error at once.
            deflated.assign("\xff\xff\xff\xff\xff\xff\xff\xff", 8);
        }
        zipWriteInFileInZip(zip, deflated.data(), static_cast<unsigned>(deflated.size()));
        zipCloseFileInZipRaw64(zip, entry.data.size(), crc);
    }
    zipClose(zip, nullptr);
    std::string bytes = test::ReadBytes(path);
    DeleteFileW(path.c_str());
    for (const ZipEntry& entry : entries) {
        if (!entry.badLocalHeader) continue;
        // The local header is "PK\3\4", 26 bytes of fields, then the name.
        for (size_t at = bytes.find("PK\x03\x04"); at != std::string::npos; at = bytes.find("PK\x03\x04", at + 4)) {
            if (bytes.compare(at + 30, entry.name.size(), entry.name) == 0) {
                bytes[at] = 'X';
                break;
            }
        }
    }
    return bytes;
}

namespace {

void AppendLe16(std::string& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

std::string RawDeflate(const std::string& data) {
    std::string out(compressBound(static_cast<uLong>(data.size())) + 64, '\0');
    z_stream stream = {};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

}  // namespace

std::string MakeZipByHand(const std::vector<ZipEntry>& entries) {
    const uint32_t kDosDate1980 = 0x21;  // 1980-01-01, midnight
    std::string archive, directory;
    for (const ZipEntry& entry : entries) {
        const bool folder = !entry.name.empty() && entry.name.back() == '/';
        const bool deflate = entry.deflate && !folder;
        const std::string stored = deflate ? RawDeflate(entry.data) : entry.data;
        uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()), static_cast<uInt>(entry.data.size()));
        if (entry.badCrc) crc ^= 0x5A5A5A5A;
        const uint32_t size = static_cast<uint32_t>(entry.data.size()) + entry.sizeBeyondData;
        const uint32_t storedSize = deflate ? static_cast<uint32_t>(stored.size()) : size;
        const uint32_t flags = entry.utf8Flag ? (1u << 11) : 0;
        const uint32_t localAt = static_cast<uint32_t>(archive.size());
        // Fields shared by the local header (from "version needed") and the directory header.
        std::string fields;
        AppendLe16(fields, 20);
        AppendLe16(fields, flags);
        AppendLe16(fields, deflate ? 8 : 0);
        AppendLe16(fields, 0);
        AppendLe16(fields, kDosDate1980);
        AppendLe32(fields, crc);
        AppendLe32(fields, storedSize);
        AppendLe32(fields, size);
        AppendLe16(fields, static_cast<uint32_t>(entry.name.size()));
        AppendLe16(fields, 0);  // extra field length

        AppendLe32(archive, 0x04034b50);
        archive += fields + entry.name + stored;

        AppendLe32(directory, 0x02014b50);
        AppendLe16(directory, 20);  // made by: version 2.0, MS-DOS attributes
        directory += fields;
        AppendLe16(directory, 0);   // comment length
        AppendLe16(directory, 0);   // disk
        AppendLe16(directory, 0);   // internal attributes
        AppendLe32(directory, folder ? 0x10 : 0x20);
        AppendLe32(directory, localAt);
        directory += entry.name;
    }
    const uint32_t directoryAt = static_cast<uint32_t>(archive.size());
    archive += directory;
    AppendLe32(archive, 0x06054b50);
    AppendLe16(archive, 0);
    AppendLe16(archive, 0);
    AppendLe16(archive, static_cast<uint32_t>(entries.size()));
    AppendLe16(archive, static_cast<uint32_t>(entries.size()));
    AppendLe32(archive, static_cast<uint32_t>(directory.size()));
    AppendLe32(archive, directoryAt);
    AppendLe16(archive, 0);
    return archive;
}

bool CorruptEntryCrc(std::string& zip, const std::string& name) {
    auto at16 = [&zip](size_t at) { return uint32_t(uint8_t(zip[at])) | uint32_t(uint8_t(zip[at + 1])) << 8; };
    auto at32 = [&zip](size_t at) { return ReadLe32(reinterpret_cast<const unsigned char*>(&zip[at])); };
    if (zip.size() < 22) return false;
    const size_t end = zip.size() - 22;
    size_t at = at32(end + 16);
    for (uint32_t i = 0, count = at16(end + 10); i < count && at + 46 <= zip.size(); ++i) {
        const uint32_t nameLength = at16(at + 28);
        if (zip.compare(at + 46, nameLength, name) == 0 && nameLength == name.size()) {
            const size_t local = at32(at + 42);
            for (size_t crc : {at + 16, local + 14}) zip[crc] = char(zip[crc] ^ 0x5A);
            return true;
        }
        at += 46 + nameLength + at16(at + 30) + at16(at + 32);
    }
    return false;
}

std::string MakePackage(const std::string& programImage, const std::string& record, const std::string& archive) {
    std::string package = programImage;
    uint32_t lfanew = ReadLe32(reinterpret_cast<const unsigned char*>(&package[kLfanewPosition]));
    WriteLe32(reinterpret_cast<unsigned char*>(&package[lfanew - 4]), static_cast<uint32_t>(programImage.size()));
    AppendLe32(package, static_cast<uint32_t>(record.size()));
    package += record;
    AppendLe32(package, static_cast<uint32_t>(archive.size()));
    package += archive;
    return package;
}

}  // namespace testing
}  // namespace kestro
