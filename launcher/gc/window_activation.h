#pragma once
// Brings the running game centre's window to the front.
namespace kestro::launcher {

void ActivateRunningGameCenter(const wchar_t* productTitle);

}  // namespace kestro::launcher
