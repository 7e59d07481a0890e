#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace kestro {

// Random-access bytes of a package file: an open file on Windows, a buffer in memory
// for the whole-file steps and the tools. A read is complete or fails.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t Size() const = 0;
    virtual bool ReadAt(uint64_t position, void* out, size_t count) = 0;
};

class MemoryByteSource : public ByteSource {
public:
    MemoryByteSource(const void* data, size_t size) : data_(static_cast<const unsigned char*>(data)), size_(size) {}
    explicit MemoryByteSource(const std::string& bytes) : MemoryByteSource(bytes.data(), bytes.size()) {}
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t position, void* out, size_t count) override;

private:
    const unsigned char* data_;
    size_t size_;
};

}  // namespace kestro
