#include "package_maker.h"

#include <windows.h>

#include <cstring>

#include "unzip.h"
#include "iowin32.h"
#include "zip.h"
#include "setup/engine/file_io.h"
#include "setup/package/package_layout.h"

namespace kestro {
namespace testing {
namespace {

std::wstring TempZipPath() {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    wchar_t name[MAX_PATH];
    GetTempFileNameW(folder, L"kz", 0, name);
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
    std::string bytes;
    ReadWholeFile(path, bytes);
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
