#pragma once
// The skin tint: a hue/saturation/lightness shift applied to colours and to image
// pixels through precomputed tables. Portable.
#include <cstddef>
#include <cstdint>

namespace kestro {

struct TintTables {
    int hue[6][256];
    int saturation[6][256];
    int lightness[256];
};

// hue is clamped to [-180, 180] and saturation to [-100, 100]; lightness is used as given.
void BuildTintTables(int hue, int saturation, int lightness, TintTables& tables);

struct Rgb {
    uint8_t r, g, b;
};

Rgb TintRgb(const TintTables& tables, Rgb in);

// Pixels in DIB order (blue, green, red[, alpha]), `bytesPerPixel` 3 or 4. 32-bit
// pixels are premultiplied: they are tinted as straight colours and premultiplied
// again, and the alpha bytes are left alone.
void TintPixels(const TintTables& tables, uint8_t* bits, int width, int height, size_t stride, int bytesPerPixel);

}  // namespace kestro
