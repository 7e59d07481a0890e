#include "package_reader.h"

#include <objbase.h>

#include "package_layout.h"
#include "setup/package/file_byte_source.h"
#include "setup/engine/file_io.h"
#include "setup/engine/folders.h"
#include "temp_archive_name.h"

namespace kestro {
namespace {

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

int ExtractArchiveToTemp(const std::wstring& installerPath, std::wstring& tempArchive) {
    {
        FileByteSource file(installerPath);
        uint32_t offset = 0;
        if (!file.IsOpen() || !ReadPayloadOffset(file, offset)) return kSetupBadPackage;
    }
    std::string whole;
    if (!ReadWholeFile(installerPath, whole)) return kSetupReadPackage;
    // The checks run again on the bytes actually read: the file may have changed.
    MemoryByteSource bytes(whole);
    uint32_t offset = 0;
    ByteSlice record, archive;
    SetupError located = LocateInstallerPayload(bytes, offset, record, archive);
    if (located != kSetupOk) return located;

    std::wstring name = FormatTempArchiveName(GetTempFolder(), FreshUniqueValue());
    if (!WriteFileRange(name, size_t(archive.start), whole, size_t(archive.length))) {
        DeleteFileW(name.c_str());
        return kSetupWriteTemp;
    }
    tempArchive = name;
    return kSetupOk;
}

}  // namespace kestro
