#pragma once
// Fixed values of the launcher that no outside library owns.
#include "launcher/gc/version.h"

namespace kestro::launcher {

inline constexpr wchar_t kInstanceMutexName[] = L"Global\\Kestro_GameCenter";
inline constexpr wchar_t kHubshellFile[] = L"\\Hubshell.dll";
inline constexpr wchar_t kResourcePackageFile[] = L"/res.data";
inline constexpr wchar_t kFileVersionKey[] = L"FileVersion";
inline constexpr int kHubshellLayoutId = 30;
inline constexpr int kBuildNumber = KESTRO_GC_BUILD_NUMBER;
inline constexpr unsigned long kProductVersion = KESTRO_GC_PRODUCT_VERSION;
inline constexpr int kModulePathChars = 260;

}  // namespace kestro::launcher
