#include "temp_archive_name.h"

namespace kestro {

std::wstring FormatTempArchiveName(const std::wstring& tempFolder, uint64_t unique) {
    static const wchar_t kDigits[] = L"0123456789ABCDEF";
    wchar_t hex[17];
    for (int i = 15; i >= 0; --i) {
        hex[i] = kDigits[unique & 0xF];
        unique >>= 4;
    }
    hex[16] = 0;
    return tempFolder + L"\\" + hex + L".zip";
}

uint64_t GuidLeadingValue(const unsigned char (&guid)[16]) {
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = value << 8 | guid[i];
    return value;
}

}  // namespace kestro
