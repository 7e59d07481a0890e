#pragma once
// One owner per system handle: small move-only holders that close what they own.
// Header-only, so every program of the repository can use them: the C runtime's
// FILE* everywhere, the Windows handles in the Windows build, file descriptors in
// the Linux tools.
#include <cerrno>
#include <cstdio>
#include <utility>

#ifdef _WIN32
#include <winsock2.h>
#include <windows.h>
#include <objbase.h>
#include <winhttp.h>
#else
#include <unistd.h>
#endif

namespace kestro {

// Closing a handle must not change what the caller reads next: a holder reset right
// after a failed call (or going out of scope on an error path) leaves its error alone.
class KeepLastError {
public:
#ifdef _WIN32
    KeepLastError() : error_(GetLastError()), errno_(errno) {}
    ~KeepLastError() {
        errno = errno_;
        SetLastError(error_);
    }
#else
    KeepLastError() : errno_(errno) {}
    ~KeepLastError() { errno = errno_; }
#endif
    KeepLastError(const KeepLastError&) = delete;
    KeepLastError& operator=(const KeepLastError&) = delete;

private:
#ifdef _WIN32
    DWORD error_;
#endif
    int errno_;
};

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
    // Taking the handle already held keeps it open.
    void reset(Type value = Traits::Empty()) {
        if (value == value_) return;
        Type old = std::exchange(value_, value);
        if (Traits::IsEmpty(old)) return;
        const KeepLastError keep;
        Traits::Close(old);
    }

private:
    Type value_ = Traits::Empty();
};

namespace handle_traits {
// Null-when-empty handles of one type, freed by one function.
template <class T, auto Free>
struct NullEmpty {
    using Type = T;
    static Type Empty() { return nullptr; }
    static bool IsEmpty(Type h) { return h == nullptr; }
    static void Close(Type h) { Free(h); }
};

struct StdioFile : NullEmpty<FILE*, fclose> {};
}  // namespace handle_traits

using UniqueStdioFile = UniqueAny<handle_traits::StdioFile>;

// Closes now and says whether every buffered byte reached the file: a full disk shows
// up only here. An empty holder has nothing to close and fails.
inline bool CloseChecked(UniqueStdioFile& file) {
    FILE* f = file.release();
    return f && fclose(f) == 0;
}

#ifdef _WIN32
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
struct RegKey : NullEmpty<HKEY, RegCloseKey> {};
struct Module : NullEmpty<HMODULE, FreeLibrary> {};
// GDI objects by their own types, so a holder hands out what the drawing calls take.
template <class T>
struct Gdi : NullEmpty<T, DeleteObject> {};
struct GdiObject : Gdi<HGDIOBJ> {};
struct Region : Gdi<HRGN> {};
struct MemoryDc : NullEmpty<HDC, DeleteDC> {};
struct Socket {
    using Type = SOCKET;
    static Type Empty() { return INVALID_SOCKET; }
    static bool IsEmpty(Type s) { return s == INVALID_SOCKET; }
    static void Close(Type s) { closesocket(s); }
};
struct LocalMemory : NullEmpty<HLOCAL, LocalFree> {};
// GlobalAlloc blocks, and the strings WinHTTP hands out to be freed with GlobalFree.
struct GlobalMemory : NullEmpty<HGLOBAL, GlobalFree> {};
// Sessions, connections and requests of WinHTTP.
struct WinHttp : NullEmpty<HINTERNET, WinHttpCloseHandle> {};
}  // namespace handle_traits

using UniqueHandle = UniqueAny<handle_traits::Kernel>;
using UniqueFile = UniqueAny<handle_traits::File>;
using UniqueRegKey = UniqueAny<handle_traits::RegKey>;
using UniqueModule = UniqueAny<handle_traits::Module>;
using UniqueGdiObject = UniqueAny<handle_traits::GdiObject>;
using UniqueBitmap = UniqueAny<handle_traits::Gdi<HBITMAP>>;
using UniqueBrush = UniqueAny<handle_traits::Gdi<HBRUSH>>;
using UniqueFont = UniqueAny<handle_traits::Gdi<HFONT>>;
using UniqueRegion = UniqueAny<handle_traits::Region>;
using UniqueMemoryDc = UniqueAny<handle_traits::MemoryDc>;
using UniqueSocket = UniqueAny<handle_traits::Socket>;
using UniqueLocal = UniqueAny<handle_traits::LocalMemory>;
using UniqueGlobal = UniqueAny<handle_traits::GlobalMemory>;
using UniqueWinHttp = UniqueAny<handle_traits::WinHttp>;

// A critical section that exists exactly as long as its holder.
class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&section_); }
    ~CriticalSection() { DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    CRITICAL_SECTION* get() { return &section_; }

private:
    CRITICAL_SECTION section_;
};

// Inside a critical section for the holder's lifetime.
class ScopedLock {
public:
    explicit ScopedLock(CRITICAL_SECTION* section) : section_(section) { EnterCriticalSection(section_); }
    explicit ScopedLock(CriticalSection& section) : ScopedLock(section.get()) {}
    ~ScopedLock() { LeaveCriticalSection(section_); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    CRITICAL_SECTION* section_;
};

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

#else
namespace handle_traits {
struct FileDescriptor {
    using Type = int;
    static Type Empty() { return -1; }
    static bool IsEmpty(Type fd) { return fd < 0; }
    static void Close(Type fd) { close(fd); }
};
}  // namespace handle_traits

using UniqueFd = UniqueAny<handle_traits::FileDescriptor>;
#endif  // _WIN32

}  // namespace kestro
