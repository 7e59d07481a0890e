#pragma once
// The string fields of a file's version record: the one reader of version records.
#include <map>
#include <string>

namespace kestro {

// Fills `out` (emptied first) with every field of the record's first translation
// that is present: "Comments", "CompanyName", ... "PrivateBuild", "SpecialBuild".
// Fails for a file without a readable record or translation table.
bool ReadVersionStrings(const wchar_t* file, std::map<std::wstring, std::wstring>& out);

}  // namespace kestro
