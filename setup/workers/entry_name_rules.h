#pragma once
// Which archive entry names the install extracts. An entry name comes from the
// package, so it is checked before it becomes a path: it must name something strictly
// inside the target folder, in a form Windows stores under exactly that name.
#include <cstdint>
#include <string>

namespace kestro {

// Bytes of the name buffer handed to the archive reader. A name that does not fit
// with its terminator would be read truncated, naming another file.
constexpr uint32_t kEntryNameBufferBytes = 1024;

bool EntryNameFits(uint64_t nameBytes);

// White space (blank, tab, CR, LF, VT, FF) removed at both ends.
std::wstring TrimEntryName(const std::wstring& name);

struct EntryName {
    bool isFolder = false;
    // The trimmed name without the final "/" of a folder entry; separators kept as stored.
    std::wstring relative;
};

// False for an empty name and for one that could leave the target folder or that
// Windows would store under another name: an absolute or drive path, any ":", a "." or
// ".." component or one ending in a dot or blank, an empty component, characters
// Windows forbids in names (< > " | ? * and control characters) and device names
// (CON, NUL, COM1 ...). "/" and "\" both separate components.
bool ParseEntryName(const std::wstring& trimmedName, EntryName& out);

// One relative path whose components all follow the rules above; shared with the
// uninstaller's check of recorded paths.
bool IsSafeRelativePath(const std::wstring& relative);

}  // namespace kestro
