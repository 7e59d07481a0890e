#include "setup/workers/uninstaller_file.h"

#include <utility>

#include "setup/engine/file_io.h"
#include "setup/package/file_byte_source.h"
#include "setup/package/package_layout.h"
#include "setup/workers/uninstaller_image.h"

namespace kestro {

bool WriteUninstaller(const std::wstring& installerPath, const std::string& recordText,
                      const std::wstring& destination) {
    // Only the program image is read, not the archive behind it (tens of megabytes
    // the install has just read once).
    FileByteSource installer(installerPath);
    uint64_t field = 0;
    uint32_t offset = 0;
    if (!ReadOffsetFieldPosition(installer, field) || !ReadPayloadOffset(installer, offset)) return false;

    std::string image(offset, '\0');
    if (!installer.ReadAt(0, &image[0], offset)) return false;
    std::string uninstaller;
    if (!ComposeUninstaller(std::move(image), field, recordText, uninstaller)) return false;
    return WriteWholeFile(destination, uninstaller);
}

}  // namespace kestro
