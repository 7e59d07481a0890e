#pragma once
// The shell folders that shortcuts go to; each is empty when the system cannot name it.
#include <string>

namespace kestro {

std::wstring GetUserDesktopFolder();     // CSIDL 16
std::wstring GetCommonDesktopFolder();   // CSIDL 25, the all-users desktop
std::wstring GetQuickLaunchFolder();     // CSIDL 26 + "\Microsoft\Internet Explorer\Quick Launch"

}  // namespace kestro
