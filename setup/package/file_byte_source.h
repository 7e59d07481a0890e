#pragma once
#include <string>

#include "services/win/unique_handle.h"
#include "setup/package/byte_source.h"

namespace kestro {

// An existing file opened for reading (others may read it too) and read in place.
class FileByteSource : public ByteSource {
public:
    explicit FileByteSource(const std::wstring& path);
    // Reads through a handle opened elsewhere (with read access), which it now owns.
    explicit FileByteSource(UniqueFile file);
    bool IsOpen() const { return bool(file_); }
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t position, void* out, size_t count) override;

private:
    void TakeSize();

    UniqueFile file_;
    uint64_t size_ = 0;
};

}  // namespace kestro
