#pragma once
#include <windows.h>

#include <string>

#include "services/win/unique_handle.h"

namespace kestro {

// One open registry key and the view bits (KEY_WOW64_32KEY / KEY_WOW64_64KEY) of the
// access it was opened with. Every operation returns the system error code (0 = success).
class RegistryKey {
public:
    RegistryKey() = default;

    // Replaces (and closes) the held key on success.
    LONG Open(HKEY root, const std::wstring& path, REGSAM access);
    // Creates or opens with read and write access plus the given view bits.
    LONG Create(HKEY root, const std::wstring& path, REGSAM viewBits = 0);
    void Close();
    HKEY Get() const { return key_.get(); }
    bool IsOpen() const { return bool(key_); }

    // REG_SZ stored with its terminating NUL; a null text is ERROR_INVALID_DATA.
    LONG SetText(const wchar_t* name, const wchar_t* text);
    LONG SetNumber(const wchar_t* name, DWORD value);

    // Into a buffer of `chars` characters; ERROR_INVALID_DATA unless the value is
    // REG_SZ or REG_EXPAND_SZ of even byte length ending in NUL.
    LONG QueryText(const wchar_t* name, wchar_t* buffer, DWORD chars);
    // The same rules, sized to the value.
    LONG QueryText(const wchar_t* name, std::wstring& text);
    // ERROR_INVALID_DATA unless the value is REG_DWORD.
    LONG QueryNumber(const wchar_t* name, DWORD& value);

    // Deletes one sub-key without sub-keys, in the held key's view.
    LONG DeleteSubKey(const wchar_t* subKey);
    // Deletes a sub-key with everything below it; stops at the first sub-key that
    // cannot be deleted and returns its error.
    LONG DeleteTree(const wchar_t* subKey);

private:
    UniqueRegKey key_;
    REGSAM view_ = 0;
};

}  // namespace kestro
