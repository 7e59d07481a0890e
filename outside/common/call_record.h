#pragma once
// The outside libraries' call record: when the environment variable
// KESTRO_OUTSIDE_RECORD names a file, every entry point appends one line to it
// (UTF-8: process id, entry name, arguments, tab-separated), so a caller's order
// of calls and its arguments can be checked from outside the process.
#include <initializer_list>
#include <string>
#include <string_view>

namespace kestro {

inline constexpr wchar_t kCallRecordVariable[] = L"KESTRO_OUTSIDE_RECORD";

// Tabs, line breaks and backslashes become \t, \n, \r and \\ so a field never
// splits a line or a column.
std::wstring EscapeRecordField(std::wstring_view text);
std::wstring FormatRecordLine(unsigned long processId, std::wstring_view entry,
                              std::initializer_list<std::wstring_view> args);

#ifdef _WIN32
// Appends one line when the record variable is set; does nothing otherwise.
void RecordCall(std::wstring_view entry, std::initializer_list<std::wstring_view> args = {});
#endif

}  // namespace kestro
