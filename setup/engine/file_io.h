#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

namespace kestro {

// Reads the whole file (share read, existing file) into `out`, which is cleared first.
// A failed read is failure and may leave a partial output.
bool ReadWholeFile(const std::wstring& path, std::string& out);

// Creates or truncates the file and writes every byte; a short write or a failed
// close (a full disk) is failure.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);

// As WriteWholeFile, with the bytes from `start` on: at most `count`, never past the
// end of `bytes` (a start past the end writes an empty file).
bool WriteFileRange(const std::wstring& path, size_t start, const std::string& bytes, size_t count);

// Writes all `count` bytes to an open file at its position; false on a failed or short
// write (a full disk).
bool WriteToHandle(HANDLE file, const void* bytes, size_t count);

}  // namespace kestro
