#include "setup/workers/uninstaller_file.h"

#include <windows.h>

#include "setup/engine/file_io.h"
#include "setup/package/file_byte_source.h"
#include "setup/package/package_layout.h"

namespace kestro {

bool WriteUninstaller(const std::wstring& installerPath, const std::string& recordText,
                      const std::wstring& destination) {
    // Only the program image is read, not the archive behind it (tens of megabytes
    // the install has just read once).
    FileByteSource installer(installerPath);
    uint64_t field = 0;
    uint32_t offset = 0;
    if (!ReadOffsetFieldPosition(installer, field) || !ReadPayloadOffset(installer, offset)) return false;
    // The field must lie inside the program image that is copied.
    if (field + kLengthFieldSize > offset) return false;

    std::string uninstaller(offset, '\0');
    if (!installer.ReadAt(0, &uninstaller[0], offset)) return false;
    unsigned char length[kLengthFieldSize];
    WriteLe32(length, static_cast<uint32_t>(recordText.size()));
    uninstaller.append(reinterpret_cast<const char*>(length), sizeof length);
    uninstaller += recordText;
    // The image copied from the installer already points at O, the start of the new payload;
    // written again so the uninstaller never depends on what the installer's field held.
    WriteLe32(reinterpret_cast<unsigned char*>(&uninstaller[field]), offset);
    return WriteWholeFile(destination, uninstaller);
}

}  // namespace kestro
