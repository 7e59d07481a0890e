#include "setup/package/file_byte_source.h"

#include <windows.h>

namespace kestro {

FileByteSource::FileByteSource(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                        nullptr)) {
    TakeSize();
}

FileByteSource::FileByteSource(UniqueFile file) : file_(std::move(file)) { TakeSize(); }

void FileByteSource::TakeSize() {
    LARGE_INTEGER size;
    if (file_ && GetFileSizeEx(file_.get(), &size)) size_ = uint64_t(size.QuadPart);
}

bool FileByteSource::ReadAt(uint64_t position, void* out, size_t count) {
    LARGE_INTEGER to;
    to.QuadPart = LONGLONG(position);
    if (!file_ || !SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN)) return false;
    auto* bytes = static_cast<unsigned char*>(out);
    while (count > 0) {
        // ReadFile takes a 32-bit count; large reads go in pieces.
        DWORD piece = count > 0x40000000 ? 0x40000000 : DWORD(count);
        DWORD got = 0;
        if (!ReadFile(file_.get(), bytes, piece, &got, nullptr) || got == 0) return false;
        bytes += got;
        count -= got;
    }
    return true;
}

}  // namespace kestro
