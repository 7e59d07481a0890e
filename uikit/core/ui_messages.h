#pragma once
// Window messages of the toolkit.

namespace kestro {

// Repaint a layered root window; wParam: a RECT* or 0 for the whole window.
inline constexpr unsigned UIM_LAYEREDPAINT = 0x6400;
// Sent to every window of the thread after the skin's tint changed.
inline constexpr unsigned UIM_SKINCHANGED = 0x6A60;

}  // namespace kestro
