#pragma once
#include <string>

#include "services/json/jvalue.h"
#include "setup_error.h"

namespace kestro {

// The configuration record of any executable built as a package (an installer or an
// uninstaller). False on any failed read, failed length check or parse error; the
// caller decides what to report.
bool ReadConfigRecord(const std::wstring& path, JValue& record);

// Copies the installer's archive to a uniquely named temporary ZIP file. Returns a
// SetupError code; on success `tempArchive` names the file, which the caller owns and
// deletes after extraction. A failed write leaves no temporary file behind.
int ExtractArchiveToTemp(const std::wstring& installerPath, std::wstring& tempArchive);

}  // namespace kestro
