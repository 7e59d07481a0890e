#pragma once
// When a foreground window counts as a full-screen program.
#include <string_view>

namespace kestro::tarnlib {

struct Box {
    long left, top, right, bottom;
};

// The window covers the whole monitor and is not the desktop or the shell's wallpaper window.
bool IsFullScreenWindow(const Box& window, const Box& monitor, std::wstring_view windowClass);

}  // namespace kestro::tarnlib
