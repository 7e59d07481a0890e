#pragma once
// The installer package: a program image followed by its payload.
//   e_lfanew - 4 : u32 payload offset O (last bytes of the padding before the PE signature)
//   O            : u32 record length R, then R bytes of UTF-8 JSON
//   O + 4 + R    : u32 archive length Z, then Z bytes of ZIP (installers only)
// All integers little-endian. Every check runs in 64-bit arithmetic so hostile
// lengths near 4 GiB cannot wrap past the end of the file.
#include <cstdint>
#include <string>

#include "byte_source.h"
#include "setup_error.h"

namespace kestro {

constexpr uint32_t kDosHeaderSize = 64;
constexpr uint32_t kLfanewPosition = 60;
constexpr uint32_t kLengthFieldSize = 4;

struct ByteSlice {
    uint64_t start = 0;
    uint64_t length = 0;
};

uint32_t ReadLe32(const unsigned char* p);
void WriteLe32(unsigned char* p, uint32_t value);

// Position of the offset field (e_lfanew - 4). False when the file is shorter than the
// MS-DOS header, e_lfanew is below 4, or the field does not lie inside the file.
bool ReadOffsetFieldPosition(ByteSource& file, uint64_t& fieldPosition);

// The payload offset O; false when unreadable, 0, or past the end of the file.
bool ReadPayloadOffset(ByteSource& file, uint32_t& offset);

// The record after its length field; false unless O + 4 <= S and O + 4 + R <= S.
bool ReadRecordSlice(ByteSource& file, uint32_t offset, ByteSlice& record);

// The exact record bytes of any package (installer or uninstaller); false on any
// failed read or check.
bool ReadRecordText(ByteSource& file, std::string& text);

// Given O, the record and the archive of an installer: kSetupBadRecord when the record
// length field or the record does not fit, kSetupBadArchive when the archive length
// field or the archive does not fit.
SetupError LocateArchive(ByteSource& file, uint32_t offset, ByteSlice& record, ByteSlice& archive);

// The whole layout check of an installer held in memory, as the install worker runs it
// after reading the file: codes 1, 3 and 5.
SetupError LocateInstallerPayload(ByteSource& file, uint32_t& offset, ByteSlice& record, ByteSlice& archive);

}  // namespace kestro
