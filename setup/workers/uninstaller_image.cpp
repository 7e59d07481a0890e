#include "setup/workers/uninstaller_image.h"

#include <utility>

#include "setup/package/package_layout.h"
#include "setup/package/pe_image.h"

namespace kestro {

bool ComposeUninstaller(std::string image, uint64_t offsetField, const std::string& recordText,
                        std::string& uninstaller) {
    if (offsetField + kLengthFieldSize > image.size()) return false;
    const uint32_t offset = static_cast<uint32_t>(image.size());
    std::string bytes = std::move(image);
    // An installer's signature lies after its archive and its checksum covers the whole
    // installer: neither belongs to this file. Headers that cannot be read are copied as
    // they are; the loader decides about them.
    ClearSignatureAndChecksum(bytes);
    unsigned char length[kLengthFieldSize];
    WriteLe32(length, static_cast<uint32_t>(recordText.size()));
    bytes.append(reinterpret_cast<const char*>(length), sizeof length);
    bytes += recordText;
    // The image copied from the installer already points at O, the start of the new payload;
    // written again so the uninstaller never depends on what the installer's field held.
    WriteLe32(reinterpret_cast<unsigned char*>(&bytes[size_t(offsetField)]), offset);
    uninstaller.swap(bytes);
    return true;
}

}  // namespace kestro
