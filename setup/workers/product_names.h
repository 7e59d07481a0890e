#pragma once
// Names under which the product is installed and registered; the install writes them
// and the uninstall removes them again.

namespace kestro {

// Display name of the uninstall entry and name of the start-menu folder.
inline constexpr const wchar_t kProductDisplayName[] = L"Kestro 模拟器";
inline constexpr const wchar_t kMakerFolderName[] = L"Tarnwell";
inline constexpr const wchar_t kUninstallerFileName[] = L"unins000.exe";
inline constexpr const wchar_t kLauncherFileName[] = L"KestroGC.exe";

inline constexpr const wchar_t kUninstallParentKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr const wchar_t kProductUninstallKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KestroGC";
inline constexpr const wchar_t kEmulatorUninstallKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KestroAVM";
inline constexpr const wchar_t kMakerUserKey[] = L"SOFTWARE\\Tarnwell";
inline constexpr const wchar_t kProductUserKey[] = L"SOFTWARE\\Tarnwell\\KestroGC";
inline constexpr const wchar_t kEmulatorUserKey[] = L"SOFTWARE\\Tarnwell\\KestroAVM";
inline constexpr const wchar_t kProductKeyName[] = L"KestroGC";
inline constexpr const wchar_t kProtocolKey[] = L"gcapp";
inline constexpr const wchar_t kProtocolExecuteKey[] = L"Software\\Microsoft\\Internet Explorer\\ProtocolExecute";

// Start-menu folder below the Programs folder: "%s\Tarnwell\%s".
inline constexpr const wchar_t kStartMenuFolderTail[] = L"\\Tarnwell\\Kestro 模拟器";
// Product data below an application-data folder.
inline constexpr const wchar_t kProductDataTail[] = L"\\Tarnwell\\KestroGameCenter";

}  // namespace kestro
