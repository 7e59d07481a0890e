#include "package_reader.h"

#include <objbase.h>

#include "package_layout.h"
#include "setup/engine/file_io.h"
#include "setup/engine/folders.h"
#include "services/win/unique_handle.h"
#include "temp_archive_name.h"

namespace kestro {
namespace {

// An open package file read piece by piece (share read, must exist).
class FileByteSource : public ByteSource {
public:
    explicit FileByteSource(const std::wstring& path)
        : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr)) {
        LARGE_INTEGER size;
        if (file_ && GetFileSizeEx(file_.get(), &size)) size_ = uint64_t(size.QuadPart);
    }
    bool IsOpen() const { return bool(file_); }
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t position, void* out, size_t count) override {
        LARGE_INTEGER to;
        to.QuadPart = LONGLONG(position);
        if (!SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN)) return false;
        auto* bytes = static_cast<unsigned char*>(out);
        while (count > 0) {
            DWORD got = 0;
            if (!ReadFile(file_.get(), bytes, DWORD(count), &got, nullptr) || got == 0) return false;
            bytes += got;
            count -= got;
        }
        return true;
    }

private:
    UniqueFile file_;
    uint64_t size_ = 0;
};

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
