#include "toolkit_fonts.h"

namespace kestro {
namespace {

HFONT MakeFont(LONG weight, bool underline, bool keepWeight) {
    LOGFONTW lf = IconTitleLogFont();
    if (!keepWeight) lf.lfWeight = weight;
    if (underline) lf.lfUnderline = TRUE;
    return CreateFontIndirectW(&lf);
}

}  // namespace

LOGFONTW IconTitleLogFont() {
    LOGFONTW lf{};
    if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0)) lf = LOGFONTW{};
    return lf;
}

// Function-local statics: created once, thread-safe, never freed.
HFONT ToolkitNormalFont() {
    static HFONT font = MakeFont(FW_NORMAL, false, false);
    return font;
}
HFONT ToolkitBoldFont() {
    static HFONT font = MakeFont(FW_BOLD, false, false);
    return font;
}
HFONT SharedDefaultFont() {
    static HFONT font = MakeFont(0, false, true);
    return font;
}
HFONT SharedBoldFont() {
    static HFONT font = MakeFont(FW_BOLD, false, false);
    return font;
}
HFONT SharedUnderlineFont() {
    static HFONT font = MakeFont(0, true, true);
    return font;
}
HFONT SharedBoldUnderlineFont() {
    static HFONT font = MakeFont(FW_BOLD, true, false);
    return font;
}

}  // namespace kestro
