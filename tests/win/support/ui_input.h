#pragma once
// Real input for window tests: SendInput, so the system moves the cursor and generates
// the window messages, and message pumping with bounded waits.
#include <windows.h>

#include <functional>
#include <vector>

namespace kestro::test {

// Dispatches this thread's messages for `ms` milliseconds.
void Pump(int ms);
// Dispatches until `done` holds; false when `ms` milliseconds passed first.
bool PumpUntil(const std::function<bool()>& done, int ms = 3000);

// Client point of `window` (screen point without a window); each call pumps briefly.
void MoveMouse(HWND window, int x, int y);
void MouseButton(bool down);
void ClickAt(HWND window, int x, int y);
void Wheel(int delta);
void PressKey(WORD vk);
void TypeChar(wchar_t c);
// Pointer moves (client points of `window`) and then the release, from another
// thread: for controls that sit in their own loop while the button is down.
void DragLater(HWND window, std::vector<POINT> path);

}  // namespace kestro::test
