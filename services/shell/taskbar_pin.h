#pragma once
// Pinning the Quick Launch link of a display name to the taskbar, and unpinning it.
// Nothing happens before Vista; the shell verb's own outcome is not reported.
namespace kestro {

void PinToTaskbar(const wchar_t* name);
void UnpinFromTaskbar(const wchar_t* name);

}  // namespace kestro
