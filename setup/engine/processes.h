#pragma once
#include <string>

namespace kestro {

// Whether a running process uses the file: either its executable has the file's name
// (then `nameToStop` is the path itself), or it has loaded a module with exactly that
// full path (then `nameToStop` is that process's executable name). Case-insensitive.
// A bare program name therefore matches by executable name only.
bool FindProcessUsingFile(const std::wstring& path, std::wstring& nameToStop);

// Terminates (exit code 0) every process whose executable has the file name of
// `name`, except the calling process itself.
void KillProcessesByName(const std::wstring& name);

}  // namespace kestro
