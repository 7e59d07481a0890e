#pragma once
#include <string>

namespace kestro {

// Writes the uninstaller: the installer's program image (everything before its
// payload), the record's length as u32 LE and the record text, with the payload
// offset field pointing at the new payload. False when the installer cannot be read
// or the file cannot be written in full.
bool WriteUninstaller(const std::wstring& installerPath, const std::string& recordText,
                      const std::wstring& destination);

}  // namespace kestro
