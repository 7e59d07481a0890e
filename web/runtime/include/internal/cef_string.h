#ifndef CEF_INCLUDE_INTERNAL_CEF_STRING_H_
#define CEF_INCLUDE_INTERNAL_CEF_STRING_H_

#include <cstddef>
#include <string>

// The runtime's string: UTF-16 code units. Built from and read as UTF-8 narrow
// text or wide text (UTF-16 on Windows, UTF-32 elsewhere).
class CefString {
public:
    typedef char16_t char_type;

    CefString() {}
    CefString(const char* src) { FromString(src ? std::string(src) : std::string()); }        // NOLINT
    CefString(const std::string& src) { FromString(src); }                                    // NOLINT
    CefString(const wchar_t* src) { FromWString(src ? std::wstring(src) : std::wstring()); }  // NOLINT
    CefString(const std::wstring& src) { FromWString(src); }                                  // NOLINT
    CefString(const std::u16string& src) : str_(src) {}                                       // NOLINT

    bool empty() const { return str_.empty(); }
    size_t length() const { return str_.length(); }
    size_t size() const { return str_.size(); }
    const char16_t* c_str() const { return str_.c_str(); }
    void clear() { str_.clear(); }

    std::string ToString() const;
    std::wstring ToWString() const;
    const std::u16string& ToString16() const { return str_; }

    void FromString(const std::string& utf8);
    void FromWString(const std::wstring& wide);

    int compare(const CefString& other) const { return str_.compare(other.str_); }

    friend bool operator==(const CefString& a, const CefString& b) { return a.str_ == b.str_; }
    friend bool operator!=(const CefString& a, const CefString& b) { return a.str_ != b.str_; }
    friend bool operator<(const CefString& a, const CefString& b) { return a.str_ < b.str_; }

private:
    std::u16string str_;
};

#endif  // CEF_INCLUDE_INTERNAL_CEF_STRING_H_
