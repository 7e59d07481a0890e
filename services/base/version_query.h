#pragma once
// How the string fields of a version record are asked for; portable, so the query
// texts are checked natively.
#include <string>

namespace kestro {

// The string fields of a version record, in the order they are queried.
extern const wchar_t* const kVersionStringKeys[12];

// "\StringFileInfo\%04x%04x\%s" with lower-case hexadecimal.
std::wstring VersionStringQuery(unsigned language, unsigned codePage, const std::wstring& key);

}  // namespace kestro
