#pragma once
// The outside libraries' wide string: one shared, reference-counted buffer per
// text, copied on write. Header-only and allocated with the C run-time's malloc,
// which every module of a process shares, so a CString may be created in one
// library and released in another.
#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>
#include <string_view>

class CString {
public:
    CString() = default;
    CString(const wchar_t* text) { Assign(text ? std::wstring_view(text) : std::wstring_view()); }
    CString(std::wstring_view text) { Assign(text); }
    CString(const wchar_t* text, size_t length) { Assign(std::wstring_view(text, length)); }
    CString(const CString& other) : buffer_(other.buffer_) {
        if (buffer_) buffer_->refs.fetch_add(1, std::memory_order_relaxed);
    }
    CString(CString&& other) noexcept : buffer_(other.buffer_) { other.buffer_ = nullptr; }
    CString& operator=(const CString& other) {
        if (buffer_ != other.buffer_) {
            if (other.buffer_) other.buffer_->refs.fetch_add(1, std::memory_order_relaxed);
            Drop();
            buffer_ = other.buffer_;
        }
        return *this;
    }
    CString& operator=(CString&& other) noexcept {
        if (this != &other) {
            Drop();
            buffer_ = other.buffer_;
            other.buffer_ = nullptr;
        }
        return *this;
    }
    ~CString() { Drop(); }

    const wchar_t* GetString() const { return buffer_ ? buffer_->chars : L""; }
    operator const wchar_t*() const { return GetString(); }
    size_t GetLength() const { return buffer_ ? buffer_->length : 0; }
    bool IsEmpty() const { return GetLength() == 0; }
    std::wstring_view View() const { return std::wstring_view(GetString(), GetLength()); }
    // How many CString objects share this text (0 for the empty string); for tests.
    long RefCount() const { return buffer_ ? buffer_->refs.load() : 0; }

    CString& operator+=(std::wstring_view tail) {
        if (tail.empty()) return *this;
        const std::wstring_view head = View();
        Buffer* joined = Allocate(head.size() + tail.size());
        if (!joined) return *this;
        std::wmemcpy(joined->chars, head.data(), head.size());
        std::wmemcpy(joined->chars + head.size(), tail.data(), tail.size());
        Drop();
        buffer_ = joined;
        return *this;
    }
    CString& operator+=(const wchar_t* tail) { return *this += std::wstring_view(tail ? tail : L""); }
    CString& operator+=(const CString& tail) { return *this += tail.View(); }

    friend CString operator+(const CString& a, std::wstring_view b) {
        CString out(a);
        out += b;
        return out;
    }
    friend bool operator==(const CString& a, const CString& b) { return a.View() == b.View(); }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.View() == std::wstring_view(b ? b : L""); }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.View() < b.View(); }

private:
    struct Buffer {
        std::atomic<long> refs;
        size_t length;
        wchar_t chars[1];
    };

    static Buffer* Allocate(size_t length) {
        if (length > (static_cast<size_t>(-1) - sizeof(Buffer)) / sizeof(wchar_t)) return nullptr;
        void* memory = std::malloc(sizeof(Buffer) + length * sizeof(wchar_t));
        if (!memory) return nullptr;
        Buffer* buffer = new (memory) Buffer;
        buffer->refs.store(1, std::memory_order_relaxed);
        buffer->length = length;
        buffer->chars[length] = L'\0';
        return buffer;
    }
    void Assign(std::wstring_view text) {
        if (text.empty()) return;
        buffer_ = Allocate(text.size());
        if (buffer_) std::wmemcpy(buffer_->chars, text.data(), text.size());
    }
    void Drop() {
        if (buffer_ && buffer_->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            buffer_->~Buffer();
            std::free(buffer_);
        }
        buffer_ = nullptr;
    }

    Buffer* buffer_ = nullptr;
};
