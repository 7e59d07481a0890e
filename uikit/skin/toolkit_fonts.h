#pragma once
// Process-wide fonts made from the system's icon-title font; created on first use
// and kept for the life of the process.
#include <windows.h>

namespace kestro {

// The icon-title LOGFONT of the system (a zeroed record when the system refuses).
LOGFONTW IconTitleLogFont();

// Toolkit text fonts: weight 400 (the default of text painting and of back buffers)
// and weight 700.
HFONT ToolkitNormalFont();
HFONT ToolkitBoldFont();

// The four shared defaults handed out by the skin: as is, bold, underlined, both.
HFONT SharedDefaultFont();
HFONT SharedBoldFont();
HFONT SharedUnderlineFont();
HFONT SharedBoldUnderlineFont();

}  // namespace kestro
