#ifndef CEF_INCLUDE_CEF_BASE_H_
#define CEF_INCLUDE_CEF_BASE_H_

#include <atomic>

#include "include/internal/cef_ptr.h"
#include "include/internal/cef_string.h"
#include "include/internal/cef_types.h"
#include "include/internal/cef_types_wrappers.h"

#ifndef OVERRIDE
#define OVERRIDE override
#endif

// Every object the runtime and its clients share is reference-counted through
// this interface; nobody deletes one directly.
class CefBase {
public:
    // Adds a reference; returns the new count.
    virtual int AddRef() = 0;
    // Drops a reference and frees the object when none is left; returns the new count.
    virtual int Release() = 0;
    virtual int GetRefCt() = 0;

protected:
    virtual ~CefBase() {}
};

// The counter behind IMPLEMENT_REFCOUNTING. Atomic, since the runtime adds and
// drops references from its own threads.
class CefRefCount {
public:
    CefRefCount() : refct_(0) {}
    int AddRef() { return refct_.fetch_add(1, std::memory_order_relaxed) + 1; }
    int Release() { return refct_.fetch_sub(1, std::memory_order_acq_rel) - 1; }
    int GetRefCt() { return refct_.load(std::memory_order_acquire); }

private:
    std::atomic<int> refct_;
};

#define IMPLEMENT_REFCOUNTING(ClassName)                  \
public:                                                   \
    int AddRef() OVERRIDE { return refct_.AddRef(); }     \
    int Release() OVERRIDE {                              \
        int retval = refct_.Release();                    \
        if (retval == 0) delete this;                     \
        return retval;                                    \
    }                                                     \
    int GetRefCt() OVERRIDE { return refct_.GetRefCt(); } \
                                                          \
private:                                                  \
    CefRefCount refct_;

#define IMPLEMENT_LOCKING(ClassName)

#endif  // CEF_INCLUDE_CEF_BASE_H_
