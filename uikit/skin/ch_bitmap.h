#pragma once
// A device-independent bitmap (DIB section) of 24 or 32 bits per pixel, rows
// bottom-up. 32-bit bitmaps hold premultiplied alpha, ready for AlphaBlend.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "services/win/unique_handle.h"

namespace kestro {

class CHBitmap {
public:
    CHBitmap();
    ~CHBitmap();
    CHBitmap(const CHBitmap&) = delete;
    CHBitmap& operator=(const CHBitmap&) = delete;

    // Refuses depths other than 24 and 32 and non-positive sizes.
    bool Create(int width, int height, int bitsPerPixel);
    // Uncompressed 24/32-bit only; `byteCount` must equal stride x height.
    bool CopyFrom(const BITMAPINFOHEADER& header, const void* bits, size_t byteCount);
    void Free();
    // PNG, BMP, JPEG... through GDI+: 32 bits when the image has alpha, else 24.
    bool Decode(const void* data, size_t size);
    // Keeps the encoded image and decodes it when it is first drawn (AcquireDc, Draw) or
    // DecodePending is called; until then the bitmap is empty. An image that cannot be
    // decoded then stays empty and draws nothing.
    void DecodeOnFirstUse(std::string encoded);
    // Decodes a kept image now; true when the bitmap holds pixels.
    bool DecodePending();

    // Draws source (sx, sy, sw, sh) into (x, y, w, h): 32-bit bitmaps are alpha-blended,
    // 24-bit ones copied, or stretched by a DIB draw when the sizes differ.
    bool Draw(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh);
    bool Draw(HDC dc, int x, int y) { return Draw(dc, x, y, width, height, 0, 0, width, height); }

    // The memory DC with the bitmap selected; exists only between these two calls.
    HDC AcquireDc();
    void ReleaseDc();

    // The DIB section, null while the bitmap is empty; the bitmap keeps owning it.
    HBITMAP GetDib() const { return dib_.get(); }

    // Pixel access in top-down coordinates (x, y); null outside the bitmap.
    uint8_t* PixelAt(int x, int y) const;

    int bitsPerPixel = 0;
    int width = 0;
    int height = 0;
    int stride = 0;
    uint8_t* bits = nullptr;
    uint32_t imageSize = 0;
    BITMAPINFOHEADER header{};

private:
    UniqueBitmap dib_;
    // Declared after the DIB, so it is deleted first and the DIB is selected into nothing.
    UniqueMemoryDc memDc_;
    HGDIOBJ previous_ = nullptr;
    std::string pending_;
};

// A region of the magenta (255, 0, 255) pixels of a 24-bit bitmap, one rectangle per
// run of a row; none for other depths or when the bitmap has no magenta pixel.
HRGN RegionFromMagenta(const CHBitmap& bitmap);

}  // namespace kestro
