#include "package_layout.h"

#include <cstring>

namespace kestro {

bool MemoryByteSource::ReadAt(uint64_t position, void* out, size_t count) {
    if (position > size_ || uint64_t(count) > uint64_t(size_) - position) return false;
    if (count) memcpy(out, data_ + position, count);
    return true;
}

uint32_t ReadLe32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void WriteLe32(unsigned char* p, uint32_t value) {
    p[0] = static_cast<unsigned char>(value);
    p[1] = static_cast<unsigned char>(value >> 8);
    p[2] = static_cast<unsigned char>(value >> 16);
    p[3] = static_cast<unsigned char>(value >> 24);
}

namespace {

bool ReadU32At(ByteSource& file, uint64_t position, uint32_t& value) {
    unsigned char bytes[4];
    if (!file.ReadAt(position, bytes, sizeof bytes)) return false;
    value = ReadLe32(bytes);
    return true;
}

}  // namespace

bool ReadOffsetFieldPosition(ByteSource& file, uint64_t& fieldPosition) {
    unsigned char header[kDosHeaderSize];
    if (file.Size() < kDosHeaderSize || !file.ReadAt(0, header, sizeof header)) return false;
    uint64_t lfanew = ReadLe32(header + kLfanewPosition);
    if (lfanew < kLengthFieldSize || lfanew > file.Size()) return false;
    fieldPosition = lfanew - kLengthFieldSize;
    return true;
}

bool ReadPayloadOffset(ByteSource& file, uint32_t& offset) {
    uint64_t field = 0;
    uint32_t value = 0;
    if (!ReadOffsetFieldPosition(file, field) || !ReadU32At(file, field, value)) return false;
    if (value == 0 || value > file.Size()) return false;
    offset = value;
    return true;
}

bool ReadRecordSlice(ByteSource& file, uint32_t offset, ByteSlice& record) {
    const uint64_t size = file.Size();
    const uint64_t start = uint64_t(offset) + kLengthFieldSize;
    uint32_t length = 0;
    if (start > size || !ReadU32At(file, offset, length)) return false;
    if (uint64_t(length) > size - start) return false;
    record.start = start;
    record.length = length;
    return true;
}

bool ReadRecordText(ByteSource& file, std::string& text) {
    uint32_t offset = 0;
    ByteSlice record;
    if (!ReadPayloadOffset(file, offset) || !ReadRecordSlice(file, offset, record)) return false;
    std::string bytes(size_t(record.length), '\0');
    if (!file.ReadAt(record.start, &bytes[0], bytes.size())) return false;
    text.swap(bytes);
    return true;
}

SetupError LocateArchive(ByteSource& file, uint32_t offset, ByteSlice& record, ByteSlice& archive) {
    if (!ReadRecordSlice(file, offset, record)) return kSetupBadRecord;
    const uint64_t size = file.Size();
    const uint64_t lengthField = record.start + record.length;
    uint32_t length = 0;
    if (lengthField + kLengthFieldSize > size || !ReadU32At(file, lengthField, length)) return kSetupBadArchive;
    const uint64_t start = lengthField + kLengthFieldSize;
    if (uint64_t(length) > size - start) return kSetupBadArchive;
    archive.start = start;
    archive.length = length;
    return kSetupOk;
}

SetupError LocateInstallerPayload(ByteSource& file, uint32_t& offset, ByteSlice& record, ByteSlice& archive) {
    if (!ReadPayloadOffset(file, offset)) return kSetupBadPackage;
    return LocateArchive(file, offset, record, archive);
}

}  // namespace kestro
