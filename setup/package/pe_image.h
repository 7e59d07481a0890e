#pragma once
// The two header fields of a Windows program image that describe the whole file rather
// than the program: the optional header's CheckSum and its security directory entry
// (where an Authenticode signature lies, as a file offset and a size). A copy of the
// image with other bytes after it must set both anew.
#include <cstdint>
#include <string>

namespace kestro {

struct PeFileFields {
    uint64_t checksum = 0;        // file position of the 4-byte CheckSum
    bool hasSecurityEntry = false;  // the header declares and holds directory entry 4
    uint64_t securityEntry = 0;   // file position of its 8 bytes (offset, size)
};

// Finds the fields in `image`: a PE signature at e_lfanew, a PE32 or PE32+ optional
// header long enough for the CheckSum. False for anything else; nothing is read outside
// the bytes given.
bool LocatePeFileFields(const std::string& image, PeFileFields& fields);

// Makes `file` a complete unsigned file: the security directory entry cleared (when
// the header has one) and the CheckSum computed over every byte of `file`, as the
// system's image checksum defines it. False, with `file` unchanged, when the fields
// cannot be located.
bool MarkAsUnsignedWholeFile(std::string& file);

// The image checksum of `file`, its CheckSum field at `checksumPosition` counted as zero:
// the 16-bit little-endian words (a last odd byte as a word of its own) added with
// end-around carry, plus the file's length.
uint32_t ComputePeChecksum(const std::string& file, uint64_t checksumPosition);

}  // namespace kestro
