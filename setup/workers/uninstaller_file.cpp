#include "setup/workers/uninstaller_file.h"

#include <windows.h>

#include "services/win/unique_handle.h"
#include "setup/engine/file_io.h"
#include "setup/package/package_layout.h"

namespace kestro {
namespace {

// The installer read in place: only its program image is needed, not the archive
// behind it (tens of megabytes the install has just read once).
class InstallerFile : public ByteSource {
public:
    explicit InstallerFile(const std::wstring& path)
        : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr)) {
        LARGE_INTEGER size;
        if (file_ && GetFileSizeEx(file_.get(), &size)) size_ = uint64_t(size.QuadPart);
    }
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t position, void* out, size_t count) override {
        LARGE_INTEGER to;
        to.QuadPart = LONGLONG(position);
        if (!file_ || !SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN)) return false;
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

}  // namespace

bool WriteUninstaller(const std::wstring& installerPath, const std::string& recordText,
                      const std::wstring& destination) {
    InstallerFile installer(installerPath);
    uint64_t field = 0;
    uint32_t offset = 0;
    if (!ReadOffsetFieldPosition(installer, field) || !ReadPayloadOffset(installer, offset)) return false;
    // The field must lie inside the program image that is copied.
    if (field + kLengthFieldSize > offset) return false;

    std::string uninstaller(offset, '\0');
    if (!installer.ReadAt(0, &uninstaller[0], offset)) return false;
    unsigned char length[kLengthFieldSize];
    WriteLe32(length, static_cast<uint32_t>(recordText.size()));
    uninstaller.append(reinterpret_cast<const char*>(length), sizeof length);
    uninstaller += recordText;
    // The image copied from the installer already points at O, the start of the new payload;
    // written again so the uninstaller never depends on what the installer's field held.
    WriteLe32(reinterpret_cast<unsigned char*>(&uninstaller[field]), offset);
    return WriteWholeFile(destination, uninstaller);
}

}  // namespace kestro
