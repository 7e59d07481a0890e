#pragma once
// Basekit: the maker's asynchronous task system and crash reporting.
#ifdef BASEKIT_BUILD
#define BASEKIT_API __declspec(dllexport)
#else
#define BASEKIT_API __declspec(dllimport)
#endif

class BASEKIT_API AysncTask {
public:
    // Starts the task system; later calls do nothing.
    static void InitAsyncSystem();
    // Nonzero once InitAsyncSystem has run in this process.
    static int IsAsyncSystemReady();
};

inline constexpr wchar_t kCrashReporterName[] = L"crashpost.exe";

class BASEKIT_API TarnCrashpost {
public:
    // Registers crash reporting for this process: an unhandled exception starts
    // the reporter (crashpost.exe beside modulePath) with the product details.
    static int InitCrashpost(const wchar_t* productName, const wchar_t* displayName, const wchar_t* modulePath,
                             const wchar_t* moduleName, unsigned short versionMajor, unsigned short versionMinor,
                             unsigned short versionBuild, unsigned long versionRevision,
                             unsigned long productVersion, unsigned short reportMode, int option11,
                             int option12, int option13, unsigned long languageId, unsigned long reserved);
};
