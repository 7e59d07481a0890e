#pragma once
#include <functional>
#include <string>

#include "services/json/jvalue.h"
#include "services/win/unique_handle.h"
#include "setup_error.h"

namespace kestro {

// The configuration record of any executable built as a package (an installer or an
// uninstaller). False on any failed read, failed length check or parse error; the
// caller decides what to report.
bool ReadConfigRecord(const std::wstring& path, JValue& record);

// The temporary copy of the archive. The file is created with delete-on-close and held
// open from its creation, so it goes when `file` is closed, and with the process however
// that ends (a killed installer leaves no copy of the product behind). Read it through
// `file`: other openers would need every share flag.
struct TempArchive {
    std::wstring path;
    UniqueFile file;
};

// Copies the installer's archive to a uniquely named temporary ZIP file. Returns a
// SetupError code; on success `temp` holds the file. `installerRead` is called once the
// installer is in memory, before the copy is written. A failed write leaves no
// temporary file behind.
int ExtractArchiveToTemp(const std::wstring& installerPath, TempArchive& temp,
                         const std::function<void()>& installerRead = nullptr);

}  // namespace kestro
