#include "setup/workers/uninstaller_file.h"

#include "setup/engine/file_io.h"
#include "setup/package/package_layout.h"

namespace kestro {

bool WriteUninstaller(const std::wstring& installerPath, const std::string& recordText,
                      const std::wstring& destination) {
    std::string installer;
    if (!ReadWholeFile(installerPath, installer)) return false;
    MemoryByteSource source(installer);
    uint64_t field = 0;
    uint32_t offset = 0;
    if (!ReadOffsetFieldPosition(source, field) || !ReadPayloadOffset(source, offset)) return false;
    // The field must lie inside the program image that is copied.
    if (field + kLengthFieldSize > offset) return false;

    std::string uninstaller = installer.substr(0, offset);
    installer.clear();
    installer.shrink_to_fit();
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
