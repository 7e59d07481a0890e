#pragma once
#include <atomic>
#include <cstdint>

namespace kestro {

// Reference-counted base of the services' objects: the count starts at 0 and the
// object deletes itself when Release brings it to 0 or below.
class ILite {
public:
    virtual ~ILite() = default;
    virtual int32_t AddRef() { return ++refs_; }
    virtual int32_t Release() {
        int32_t left = --refs_;
        if (left <= 0) {
            delete this;
            return 0;
        }
        return left;
    }

private:
    std::atomic<int32_t> refs_{0};
};

}  // namespace kestro
