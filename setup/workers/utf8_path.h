#pragma once
#include <string>

namespace kestro {

// The uninstall record stores paths as the Base64 text of their UTF-8 bytes. These
// conversions are portable (16-bit wchar_t with surrogate pairs on Windows, 32-bit
// elsewhere) so the record rules are tested in the native build too. Invalid input
// (lone surrogates, malformed UTF-8) becomes U+FFFD, as the system converters do.
std::string Utf8FromWide(const std::wstring& text);
std::wstring WideFromUtf8(const std::string& text);

}  // namespace kestro
