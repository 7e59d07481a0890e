#pragma once
// Names under which the product is installed and registered; the install writes them
// and the uninstall removes them again.

namespace kestro {

// The uninstall entry's display name and the start-menu folder's name are the product
// title (services/config/product_title.h); the start-menu folder lies in the maker's.
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

// Product data below an application-data folder.
inline constexpr const wchar_t kProductDataTail[] = L"\\Tarnwell\\KestroGameCenter";

}  // namespace kestro
