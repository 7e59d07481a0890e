#pragma once
// Putting a payload after a program image, and the checks on the image first.
#include <string>

namespace kestro {

// A 32-bit Windows program image that can carry a payload: an MS-DOS header whose
// e_lfanew leaves the 4-byte offset field between the header and the PE signature,
// the PE signature itself, and an offset field that is still 0 (not a package yet).
bool CheckProgramImage(const std::string& image, std::string& error);

// image | R | record | Z | archive, with O (the image size) in the offset field.
// Without an archive: the uninstaller form (record only). Fails when the image
// check fails or the package would reach 4 GiB.
bool AssemblePackage(const std::string& image, const std::string& record, const std::string* archive,
                     std::string& package, std::string& error);

}  // namespace kestro
