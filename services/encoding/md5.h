#pragma once
#include <cstddef>
#include <cstdint>

namespace kestro {

// RFC 1321 message digest.
class Md5 {
public:
    Md5();
    void Update(const void* data, size_t length);
    void Final(uint8_t digest[16]);

private:
    void Transform(const uint8_t block[64]);
    uint32_t state_[4];
    uint64_t bitCount_ = 0;
    uint8_t buffer_[64];
};

// Digest of the bytes as 32 upper-case hexadecimal digits. The text lives in one
// shared buffer that the next call overwrites: one caller at a time.
const char* Md5Hex(const void* bytes, size_t length);

}  // namespace kestro
