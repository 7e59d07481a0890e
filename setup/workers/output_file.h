#pragma once
// The extraction's output files: each opened for writing once, a new one without the
// truncation that "wb" asks for (which on some file systems makes the close start
// writing the file back), an existing one emptied as "wb" would. A file that a running
// program holds is freed by stopping the program or by moving the file aside.
#include <mutex>
#include <string>

#include "services/win/unique_handle.h"

namespace kestro {

// The one ".old" file the extraction remembers having moved aside, shared by all its
// threads; deleted once nothing holds it any longer.
class MovedAsideFile {
public:
    // A remembered file that is still there and differs is left for deletion at the next restart.
    void Remember(const std::wstring& path);
    // Deletes the remembered file; one still held stays remembered, unless this is the
    // last chance, when it is left for deletion at the next restart.
    void CleanUp(bool lastChance);

private:
    std::mutex lock_;
    std::wstring path_;
};

// Opens `path` for writing. When that is refused: the running program that uses the
// file is stopped and, a second later, the open tried again; still refused, the file
// is deleted or else moved to path + ".old" (remembered in `movedAside`) and the open
// tried a last time. Empty when all of that failed.
UniqueFile OpenOutputFile(const std::wstring& path, MovedAsideFile& movedAside);

// Creates `path` for writing only where nothing of that name exists yet; empty otherwise
// (an existing file, a folder, a refusal), leaving the existing file untouched.
UniqueFile CreateNewOutputFile(const std::wstring& path);

}  // namespace kestro
