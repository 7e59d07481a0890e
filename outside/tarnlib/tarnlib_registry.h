#pragma once
// Where the installer records the edition of this installation.
namespace kestro::tarnlib {
inline constexpr wchar_t kProductKey[] = L"SOFTWARE\\Tarnwell\\KestroGC";
inline constexpr wchar_t kThemeValue[] = L"Theme";
inline constexpr wchar_t kDefaultTheme[] = L"default";
}  // namespace kestro::tarnlib
