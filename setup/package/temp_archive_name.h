#pragma once
#include <cstdint>
#include <string>

namespace kestro {

// "<temp folder>\<16 upper-case hex digits>.zip". The folder is used as the system
// returns it (with its trailing separator), so the name holds a doubled separator,
// which names the same file. Formatted by hand: "%I64X" is not available everywhere.
std::wstring FormatTempArchiveName(const std::wstring& tempFolder, uint64_t unique);

// The first 8 bytes of a GUID read as one little-endian 64-bit number.
uint64_t GuidLeadingValue(const unsigned char (&guid)[16]);

}  // namespace kestro
