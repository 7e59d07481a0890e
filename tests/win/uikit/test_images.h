#pragma once
// Images for the toolkit's tests: bitmaps filled pixel by pixel and PNG files
// encoded by GDI+ from the same pixels.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "uikit/skin/ch_bitmap.h"

namespace kestro::test {

// 0xAARRGGBB, straight (not premultiplied) alpha.
using PixelFn = std::function<uint32_t(int x, int y)>;

// A 32-bit bitmap holding premultiplied pixels, or a 24-bit one (alpha ignored).
void FillBitmap(CHBitmap& bitmap, int width, int height, int bits, const PixelFn& pixel);
// A PNG of the pixels: with alpha when `alpha`, else 24-bit.
std::string EncodePng(int width, int height, bool alpha, const PixelFn& pixel);

// Fills `rect` of the DC with one colour.
void FillSolid(HDC dc, const RECT& rect, COLORREF color);

// Pixel of a bitmap as 0x00RRGGBB (after GdiFlush).
uint32_t RgbAt(const CHBitmap& bitmap, int x, int y);
uint8_t AlphaAt(const CHBitmap& bitmap, int x, int y);

}  // namespace kestro::test
