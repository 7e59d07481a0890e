#pragma once
// The records every control paints with and the painters that turn them into pixels.
#include <windows.h>

#include <cstdint>
#include <string>

namespace kestro {

class CHBitmap;

// An image style of the skin: a nine-grid background and a placed foreground.
struct ImageStyle {
    int32_t x = 0, y = 0, w = 0, h = 0;  // background source rectangle
    COLORREF colorKey = 0;               // 0: none
    int32_t marginLeft = 0, marginTop = 0, marginRight = 0, marginBottom = 0;
    int32_t mode = 0;
    CHBitmap* image = nullptr;  // not owned
    int32_t fgX = 0, fgY = 0, fgW = 0, fgH = 0;
    COLORREF fgColorKey = 0;
    CHBitmap* fgImage = nullptr;  // not owned
    int32_t fgPlacement = 0;
    int32_t fgDx = 0, fgDy = 0;
};

// Alignment flags of text styles (the skin's "al").
enum : uint32_t {
    kTextCenter = 0x1,
    kTextRight = 0x2,
    kTextVCenter = 0x4,
    kTextBottom = 0x8,
    kTextSingleLine = 0x20,
    kTextEllipsis = 0x40000,
};

struct TextStyle {
    HFONT font = nullptr;  // not owned; none: the toolkit default font
    uint32_t align = 0;
    COLORREF color = 0;
    int32_t dx = 0, dy = 0;
    std::wstring text;
};

void PaintImageStyle(const RECT& rect, const ImageStyle& style, HDC dc);
// Draws `text`, or the style's own text when `text` is null, with GDI+.
void DrawTextStyle(const RECT& rect, const wchar_t* text, HDC dc, const RECT* clip, const TextStyle& style);
// Width and height of the text laid out in `rect`, fractions cut off.
SIZE MeasureTextStyle(HDC dc, const TextStyle& style, const RECT& rect, const wchar_t* text);

}  // namespace kestro
