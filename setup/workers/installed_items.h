#pragma once
// What an uninstall may remove, read from an uninstall record. The record lives in a
// file anyone could have edited, so only paths strictly inside the recorded root
// survive decoding; the root must be a full path below a drive or share.
#include <string>
#include <vector>

#include "services/json/jvalue.h"

namespace kestro {

struct InstalledItems {
    std::wstring root;                  // as recorded, "/" turned into "\"
    std::vector<std::wstring> files;    // record order, "\"-separated
    std::vector<std::wstring> folders;  // record order, "\"-separated
    size_t rejected = 0;                // recorded paths dropped for lying outside the root
};

// "/" replaced by "\".
std::wstring BackslashPath(const std::wstring& path);

// A root an uninstall may work in: "X:\name..." or "\\server\share\name...", without
// "." or ".." components or characters Windows forbids.
bool IsAcceptableRoot(const std::wstring& root);

// True when `path` names something below `root` (case-insensitive for ASCII letters),
// never the root itself, through components that cannot climb out of it.
bool IsStrictlyInsideRoot(const std::wstring& path, const std::wstring& root);

// The folders between the recorded files and the root (the root excluded), deepest
// first and each once: an uninstall removes those that its deletions left empty.
std::vector<std::wstring> ParentFoldersBelowRoot(const std::vector<std::wstring>& files, const std::wstring& root);

// False when the record has no usable root; otherwise fills `out`.
bool DecodeInstalledItems(const JValue& record, InstalledItems& out);

}  // namespace kestro
