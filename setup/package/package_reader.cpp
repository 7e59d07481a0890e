#include "package_reader.h"

#include <objbase.h>

#include "package_layout.h"
#include "setup/package/file_byte_source.h"
#include "setup/engine/file_io.h"
#include "setup/engine/folders.h"
#include "temp_archive_name.h"

namespace kestro {
namespace {

bool WriteHandleRange(HANDLE file, const char* bytes, size_t count) {
    while (count > 0) {
        // WriteFile takes a 32-bit count; large writes go in pieces.
        DWORD piece = count > 0x40000000 ? 0x40000000 : DWORD(count);
        DWORD written = 0;
        if (!WriteFile(file, bytes, piece, &written, nullptr) || written == 0) return false;
        bytes += written;
        count -= written;
    }
    return true;
}

uint64_t FreshUniqueValue() {
    GUID guid = {};
    CoCreateGuid(&guid);
    unsigned char bytes[16];
    memcpy(bytes, &guid, sizeof bytes);
    return GuidLeadingValue(bytes);
}

}  // namespace

bool ReadConfigRecord(const std::wstring& path, JValue& record) {
    FileByteSource file(path);
    std::string text;
    if (!file.IsOpen() || !ReadRecordText(file, text)) return false;
    return JValue::Parse(text, record);
}

int ExtractArchiveToTemp(const std::wstring& installerPath, TempArchive& temp,
                         const std::function<void()>& installerRead) {
    {
        FileByteSource file(installerPath);
        uint32_t offset = 0;
        if (!file.IsOpen() || !ReadPayloadOffset(file, offset)) return kSetupBadPackage;
    }
    std::string whole;
    if (!ReadWholeFile(installerPath, whole)) return kSetupReadPackage;
    if (installerRead) installerRead();
    // The checks run again on the bytes actually read: the file may have changed.
    MemoryByteSource bytes(whole);
    uint32_t offset = 0;
    ByteSlice record, archive;
    SetupError located = LocateInstallerPayload(bytes, offset, record, archive);
    if (located != kSetupOk) return located;

    std::wstring name = FormatTempArchiveName(GetTempFolder(), FreshUniqueValue());
    UniqueFile file(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    // A failed write needs no clean-up: closing the handle deletes the partial file.
    if (!file || !WriteHandleRange(file.get(), whole.data() + size_t(archive.start), size_t(archive.length)))
        return kSetupWriteTemp;
    temp.path = name;
    temp.file = std::move(file);
    return kSetupOk;
}

}  // namespace kestro
