#pragma once
#include <cstdint>
#include <string>

namespace kestro {

// The bytes of unins000.exe from the installer's program image (its bytes 0 .. O - 1,
// the offset field at `offsetField`) and the uninstall record: the image, the record's
// length as u32 LE and the record text, with the offset field pointing at O, and no
// security directory entry or checksum (a signed installer's would point past the copy
// and make it read as a damaged signed file). False when the offset field does not lie
// inside the image.
bool ComposeUninstaller(std::string image, uint64_t offsetField, const std::string& recordText,
                        std::string& uninstaller);

}  // namespace kestro
