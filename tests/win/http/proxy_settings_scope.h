#pragma once
// Sets the current user's proxy settings for one test and puts the previous ones back.
//
// Wine's WinHTTP reads them from only one place: the binary value
// DefaultConnectionSettings under the current user's key
// Software\Microsoft\Windows\CurrentVersion\Internet Settings\Connections, laid out as u32 0x46, u32 change counter, u32 flags
// (1 direct, 2 fixed proxy, 4 script URL, 8 auto-detect), then three strings (proxy
// list, bypass list, script URL), each a u32 length followed by its ANSI bytes. With
// no value at all, auto-detection reads as on.
#include <windows.h>

#include <string>
#include <vector>

#include "services/win/unique_handle.h"

namespace kestro {

class ProxySettingsScope {
public:
    enum Flags : DWORD { kDirect = 1, kProxy = 2, kScriptUrl = 4, kAutoDetect = 8 };

    ProxySettingsScope(DWORD flags, const std::string& proxy = "", const std::string& scriptUrl = "") {
        RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key_.put(), nullptr);
        DWORD size = 0;
        if (RegQueryValueExW(key_.get(), kValue, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
            saved_.resize(size);
            hadValue_ = RegQueryValueExW(key_.get(), kValue, nullptr, nullptr, saved_.data(), &size) == ERROR_SUCCESS;
        }
        std::vector<BYTE> blob;
        PutU32(blob, 0x46);
        PutU32(blob, ++counter_);
        PutU32(blob, flags);
        PutText(blob, proxy);
        PutText(blob, "");
        PutText(blob, scriptUrl);
        RegSetValueExW(key_.get(), kValue, 0, REG_BINARY, blob.data(), static_cast<DWORD>(blob.size()));
    }

    ~ProxySettingsScope() {
        if (hadValue_) {
            RegSetValueExW(key_.get(), kValue, 0, REG_BINARY, saved_.data(), static_cast<DWORD>(saved_.size()));
        } else {
            RegDeleteValueW(key_.get(), kValue);
        }
    }

    ProxySettingsScope(const ProxySettingsScope&) = delete;
    ProxySettingsScope& operator=(const ProxySettingsScope&) = delete;

private:
    static void PutU32(std::vector<BYTE>& blob, DWORD value) {
        for (int i = 0; i < 4; ++i) blob.push_back(static_cast<BYTE>(value >> (8 * i)));
    }
    static void PutText(std::vector<BYTE>& blob, const std::string& text) {
        PutU32(blob, static_cast<DWORD>(text.size()));
        blob.insert(blob.end(), text.begin(), text.end());
    }

    static constexpr const wchar_t* kKey =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
    static constexpr const wchar_t* kValue = L"DefaultConnectionSettings";
    static inline DWORD counter_ = 100;
    UniqueRegKey key_;
    bool hadValue_ = false;
    std::vector<BYTE> saved_;
};

}  // namespace kestro
