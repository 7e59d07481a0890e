#pragma once
// The one UTF-8 codec. Portable: wchar_t is 16 bits with surrogate pairs on Windows and
// 32 bits elsewhere, so every rule that goes through it is tested in the native build.
// Invalid input (lone surrogates, malformed or overlong UTF-8, code points beyond
// U+10FFFF) becomes U+FFFD, as the system converters do: one U+FFFD for a bad lead byte,
// and one for a sequence cut short together with the continuation bytes it had.
#include <string>

namespace kestro {

std::string Utf8FromWide(const std::wstring& text);
std::wstring WideFromUtf8(const std::string& text);
std::u16string Utf16FromUtf8(const std::string& text);

}  // namespace kestro
