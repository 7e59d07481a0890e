#ifndef CEF_INCLUDE_INTERNAL_CEF_PTR_H_
#define CEF_INCLUDE_INTERNAL_CEF_PTR_H_

#include <cstddef>
#include <utility>

// Smart pointer for reference-counted runtime objects: AddRef on copy, Release on
// drop. Converts to the raw pointer so "if (ptr)" and "ptr.get()" both read naturally.
template <class T>
class CefRefPtr {
public:
    CefRefPtr() : ptr_(NULL) {}
    CefRefPtr(T* p) : ptr_(p) {  // NOLINT: implicit like the runtime's own
        if (ptr_) ptr_->AddRef();
    }
    CefRefPtr(const CefRefPtr<T>& r) : ptr_(r.ptr_) {
        if (ptr_) ptr_->AddRef();
    }
    template <typename U>
    CefRefPtr(const CefRefPtr<U>& r) : ptr_(r.get()) {  // NOLINT
        if (ptr_) ptr_->AddRef();
    }
    CefRefPtr(CefRefPtr<T>&& r) noexcept : ptr_(r.ptr_) { r.ptr_ = NULL; }
    ~CefRefPtr() {
        if (ptr_) ptr_->Release();
    }

    T* get() const { return ptr_; }
    operator T*() const { return ptr_; }
    T* operator->() const { return ptr_; }
    T& operator*() const { return *ptr_; }

    CefRefPtr<T>& operator=(T* p) {
        // AddRef first so self-assignment through a raw pointer is safe.
        if (p) p->AddRef();
        T* old = ptr_;
        ptr_ = p;
        if (old) old->Release();
        return *this;
    }
    CefRefPtr<T>& operator=(const CefRefPtr<T>& r) { return *this = r.ptr_; }
    template <typename U>
    CefRefPtr<T>& operator=(const CefRefPtr<U>& r) {
        return *this = r.get();
    }
    CefRefPtr<T>& operator=(CefRefPtr<T>&& r) noexcept {
        if (this != &r) {
            T* old = ptr_;
            ptr_ = r.ptr_;
            r.ptr_ = NULL;
            if (old) old->Release();
        }
        return *this;
    }
    void swap(CefRefPtr<T>& r) { std::swap(ptr_, r.ptr_); }

private:
    T* ptr_;
};

#endif  // CEF_INCLUDE_INTERNAL_CEF_PTR_H_
