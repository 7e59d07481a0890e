#pragma once
// The product's title, written once: the installer's window title, the display name of
// its uninstall entry and its start-menu folder, the launcher's title for the default
// edition, and the version resources of both programs. A plain macro too: windres reads
// this file.
#define KESTRO_PRODUCT_TITLE "Kestro 模拟器"

#ifndef RC_INVOKED
namespace kestro::config {

inline constexpr wchar_t kProductTitle[] = L"" KESTRO_PRODUCT_TITLE;

}  // namespace kestro::config
#endif
