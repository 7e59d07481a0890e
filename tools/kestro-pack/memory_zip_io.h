#pragma once
// minizip's file functions over a byte string, so archives are written and read in
// memory: no temporary files, no code-page file names, and every read bounded by
// the buffer (a damaged archive can only make minizip fail, never read past it).
#include <string>

#include "ioapi.h"

namespace kestro {

// `bytes` must outlive every archive opened with the result. Writing grows it;
// reading never changes it.
zlib_filefunc64_def MemoryZipFunctions(std::string* bytes);

}  // namespace kestro
