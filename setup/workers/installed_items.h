#pragma once
// What an uninstall may remove, read from an uninstall record. The record lives in a
// file anyone could have edited, so only paths strictly inside the recorded root
// survive decoding; the root must be a folder an install accepts (install_root.h).
#include <string>
#include <vector>

#include "services/json/jvalue.h"

namespace kestro {

struct InstalledItems {
    std::wstring root;                  // the recorded root in its normal form
    std::vector<std::wstring> files;    // record order, each in its normal form
    std::vector<std::wstring> folders;  // record order, each in its normal form
    size_t rejected = 0;                // recorded paths dropped for lying outside the root
};

// "/" replaced by "\".
std::wstring BackslashPath(const std::wstring& path);

// A root an uninstall may work in: one the install accepts as its target folder.
bool IsAcceptableRoot(const std::wstring& root);

// True when `path` names something below `root` (both compared in their normal forms,
// case-insensitive for ASCII letters), never the root itself, through components that
// cannot climb out of it.
bool IsStrictlyInsideRoot(const std::wstring& path, const std::wstring& root);

// Whether an uninstall may work in `root` given the product's uninstall entry (its
// UninstallString, empty when there is no entry). The uninstaller runs elevated and its
// record lies in a folder every user may write to, while the entry only an
// administrator can change: with an entry, only the folder of its uninstaller goes.
bool EntryAllowsRoot(const std::wstring& uninstallString, const std::wstring& root);

// The folders between the recorded files and the root (the root excluded), deepest
// first and each once: an uninstall removes those that its deletions left empty.
std::vector<std::wstring> ParentFoldersBelowRoot(const std::vector<std::wstring>& files, const std::wstring& root);

// False when the record has no usable root; otherwise fills `out`.
bool DecodeInstalledItems(const JValue& record, InstalledItems& out);

}  // namespace kestro
