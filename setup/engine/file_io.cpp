#include "file_io.h"

#include <cstdio>

#include "services/win/unique_handle.h"

namespace kestro {
namespace {

constexpr DWORD kReadPiece = 40960;

}  // namespace

bool ReadWholeFile(const std::wstring& path, std::string& out) {
    out.clear();
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size;
    if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0 && uint64_t(size.QuadPart) < out.max_size()) {
        out.reserve(size_t(size.QuadPart));
    }
    char piece[kReadPiece];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), piece, kReadPiece, &got, nullptr)) return false;
        if (got == 0) return true;
        out.append(piece, got);
    }
}

bool WriteToHandle(HANDLE file, const void* bytes, size_t count) {
    auto* next = static_cast<const char*>(bytes);
    while (count > 0) {
        // WriteFile takes a 32-bit count; large writes go in pieces.
        DWORD piece = count > 0x40000000 ? 0x40000000 : DWORD(count);
        DWORD written = 0;
        if (!WriteFile(file, next, piece, &written, nullptr) || written == 0) return false;
        next += written;
        count -= written;
    }
    return true;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    return WriteFileRange(path, 0, bytes, bytes.size());
}

bool WriteFileRange(const std::wstring& path, size_t start, const std::string& bytes, size_t count) {
    UniqueStdioFile file(_wfopen(path.c_str(), L"wb"));
    if (!file) return false;
    size_t available = start < bytes.size() ? bytes.size() - start : 0;
    size_t length = count < available ? count : available;
    bool written = length == 0 || fwrite(bytes.data() + start, 1, length, file.get()) == length;
    // Buffered bytes reach the disk only at fflush/fclose: a full disk shows up there.
    written = fflush(file.get()) == 0 && written;
    return CloseChecked(file) && written;
}

}  // namespace kestro
