#pragma once
// Tarnlib: the maker's utility library (thread facility, module folder, edition
// key, command-line words, version strings, full-screen test).
#include <map>
#include <vector>

#include "outside/common/cstring.h"

#ifdef TARNLIB_BUILD
#define TARNLIB_API __declspec(dllexport)
#else
#define TARNLIB_API __declspec(dllimport)
#endif

// Start and stop the library's thread facility; calls nest in matched pairs.
TARNLIB_API void InitXThread();
TARNLIB_API void UnInitXThread();

class TARNLIB_API CHKestroFile {
public:
    // The running executable's folder, without a trailing separator.
    static CString GetModuleFolder();
};

class TARNLIB_API CCommFunc {
public:
    // The installation's edition key: the installer's Theme value, "default" when absent.
    static CString GetGCTheme();
};

class TARNLIB_API CHUtil {
public:
    // The process command line split into words, the program path first; returns the count.
    static int GetCommandArgs(std::vector<CString>& words);
    // The version-resource strings of a file keyed by name; returns how many were found.
    static int GetFileVersion(const wchar_t* path, std::map<CString, CString>& strings);
};

class TARNLIB_API CHUtilEx {
public:
    // Nonzero while the foreground window of another program covers its whole monitor.
    static int HasFullScreenRuning();
};
