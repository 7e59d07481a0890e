#pragma once
// The two header fields of a Windows program image that describe the whole file rather
// than the program: the optional header's CheckSum and its security directory entry
// (where an Authenticode signature lies, as a file offset and a size). A copy of the
// image with other bytes after it is another file, for which neither holds.
#include <cstdint>
#include <string>

namespace kestro {

struct PeFileFields {
    uint64_t checksum = 0;          // file position of the 4-byte CheckSum
    bool hasSecurityEntry = false;  // the header declares and holds directory entry 4
    uint64_t securityEntry = 0;     // file position of its 8 bytes (offset, size)
};

// Finds the fields in `image`: a PE signature at e_lfanew, a PE32 or PE32+ optional
// header long enough for the CheckSum. False for anything else; nothing is read outside
// the bytes given.
bool LocatePeFileFields(const std::string& image, PeFileFields& fields);

// Makes the image an unsigned one without a checksum (0, which the loader accepts for
// programs): both fields cleared, the security entry only where the header has one.
// False, with `image` unchanged, when the fields cannot be located.
bool ClearSignatureAndChecksum(std::string& image);

}  // namespace kestro
