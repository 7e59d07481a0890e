#pragma once
// Path decisions of the file and process helpers, kept apart from the system calls.
#include <string>

namespace kestro {

// The path without leading and trailing blanks (space, tab, CR, LF).
std::wstring TrimBlanks(const std::wstring& path);

// The part after the last "\" or "/"; the whole text when it has no separator.
std::wstring FileNamePart(const std::wstring& path);

// Whether a folder tree may be deleted: after trimming, longer than 3 characters (never
// a drive root), absolute (drive letter with "\" or a UNC name) and free of wildcards.
bool IsDeletableFolderPath(const std::wstring& path);

// Case-insensitive equality for ASCII and the Latin letters file systems fold alike.
bool SameFileName(const std::wstring& a, const std::wstring& b);

}  // namespace kestro
