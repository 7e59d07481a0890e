#pragma once
// One owner per system handle: small move-only holders that close what they own.
// Header-only, so every Windows program of the repository can use them.
#include <winsock2.h>
#include <windows.h>
#include <objbase.h>

#include <utility>

namespace kestro {

template <class Traits>
class UniqueAny {
public:
    using Type = typename Traits::Type;
    UniqueAny() = default;
    explicit UniqueAny(Type value) : value_(value) {}
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueAny() { reset(); }

    Type get() const { return value_; }
    explicit operator bool() const { return !Traits::IsEmpty(value_); }
    // For out-parameters of system calls: frees what is held and hands out the slot.
    Type* put() {
        reset();
        return &value_;
    }
    Type release() { return std::exchange(value_, Traits::Empty()); }
    void reset(Type value = Traits::Empty()) {
        Type old = std::exchange(value_, value);
        if (!Traits::IsEmpty(old)) Traits::Close(old);
    }

private:
    Type value_ = Traits::Empty();
};

namespace handle_traits {
struct Kernel {  // CreateThread, OpenProcess, CreateEvent, CreateMutex, pipes: null when empty
    using Type = HANDLE;
    static Type Empty() { return nullptr; }
    static bool IsEmpty(Type h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};
struct File : Kernel {  // CreateFile, snapshots: INVALID_HANDLE_VALUE when empty
    static Type Empty() { return INVALID_HANDLE_VALUE; }
};
struct RegKey {
    using Type = HKEY;
    static Type Empty() { return nullptr; }
    static bool IsEmpty(Type h) { return h == nullptr; }
    static void Close(Type h) { RegCloseKey(h); }
};
struct Module {
    using Type = HMODULE;
    static Type Empty() { return nullptr; }
    static bool IsEmpty(Type h) { return h == nullptr; }
    static void Close(Type h) { FreeLibrary(h); }
};
struct GdiObject {
    using Type = HGDIOBJ;
    static Type Empty() { return nullptr; }
    static bool IsEmpty(Type h) { return h == nullptr; }
    static void Close(Type h) { DeleteObject(h); }
};
struct MemoryDc {
    using Type = HDC;
    static Type Empty() { return nullptr; }
    static bool IsEmpty(Type h) { return h == nullptr; }
    static void Close(Type h) { DeleteDC(h); }
};
struct Socket {
    using Type = SOCKET;
    static Type Empty() { return INVALID_SOCKET; }
    static bool IsEmpty(Type s) { return s == INVALID_SOCKET; }
    static void Close(Type s) { closesocket(s); }
};
struct Region {
    using Type = HRGN;
    static Type Empty() { return nullptr; }
    static bool IsEmpty(Type h) { return h == nullptr; }
    static void Close(Type h) { DeleteObject(h); }
};
struct LocalMemory {
    using Type = HLOCAL;
    static Type Empty() { return nullptr; }
    static bool IsEmpty(Type h) { return h == nullptr; }
    static void Close(Type h) { LocalFree(h); }
};
}  // namespace handle_traits

using UniqueHandle = UniqueAny<handle_traits::Kernel>;
using UniqueFile = UniqueAny<handle_traits::File>;
using UniqueRegKey = UniqueAny<handle_traits::RegKey>;
using UniqueModule = UniqueAny<handle_traits::Module>;
using UniqueGdiObject = UniqueAny<handle_traits::GdiObject>;
using UniqueMemoryDc = UniqueAny<handle_traits::MemoryDc>;
using UniqueSocket = UniqueAny<handle_traits::Socket>;
using UniqueRegion = UniqueAny<handle_traits::Region>;
using UniqueLocal = UniqueAny<handle_traits::LocalMemory>;

// A window DC released to its window.
class ScopedWindowDc {
public:
    explicit ScopedWindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ScopedWindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    ScopedWindowDc(const ScopedWindowDc&) = delete;
    ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC for the holder's lifetime.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() {
        if (old_) SelectObject(dc_, old_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A directory search of FindFirstFileW, ended with FindClose.
namespace handle_traits {
struct FindSearch {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsEmpty(Type h) { return h == INVALID_HANDLE_VALUE || h == nullptr; }
    static void Close(Type h) { FindClose(h); }
};
}  // namespace handle_traits
using UniqueFind = UniqueAny<handle_traits::FindSearch>;

// COM interface pointer: Release on reset and destruction.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ~ComPtr() { reset(); }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T** put() {
        reset();
        return &p_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    void reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
    }

private:
    T* p_ = nullptr;
};

// CoInitialize for a scope; balanced only when it succeeded.
class ScopedCom {
public:
    explicit ScopedCom(DWORD model = COINIT_APARTMENTTHREADED) : hr_(CoInitializeEx(nullptr, model)) {}
    ~ScopedCom() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ScopedCom(const ScopedCom&) = delete;
    ScopedCom& operator=(const ScopedCom&) = delete;

private:
    HRESULT hr_;
};

}  // namespace kestro
