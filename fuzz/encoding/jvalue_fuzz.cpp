// Parses arbitrary bytes as a record and exercises every reader on the result.
#include "services/json/jvalue.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kestro::JValue v;
    if (!kestro::JValue::Parse(reinterpret_cast<const char*>(data), size, v)) return 0;
    (void)v.AsInt();
    (void)v.AsBool();
    (void)v.AsText();
    for (const std::string& key : v.MemberNames()) {
        kestro::JValue m = v[key];
        (void)m.AsInt();
        (void)m.Size();
    }
    for (size_t i = 0; i < v.Size() && i < 64; ++i) (void)v.At(i).AsInt64();
    std::string written = v.WriteCompact();
    kestro::JValue again;
    if (!kestro::JValue::Parse(written, again)) __builtin_trap();
    return 0;
}
