#include "tint.h"

#include <algorithm>

namespace kestro {
namespace {

int Clamp(long long v, long long lo, long long hi) { return int(std::min(hi, std::max(lo, v))); }

// Six colour ranges of the hue circle, each with its own hue and saturation table.
int ColourRange(double hue) {
    const double h = hue * 255;
    if (h < 21) return 0;
    if (h < 64) return 1;
    if (h < 106) return 2;
    if (h < 149) return 3;
    if (h < 192) return 4;
    if (h < 234) return 5;
    return 0;
}

double Channel(double t1, double t2, double v) {
    if (v > 6) v -= 6;
    if (v < 0) v += 6;
    if (v < 1) return t1 + v * (t2 - t1);
    if (v < 3) return t2;
    if (v < 4) return t1 + (t2 - t1) * (4 - v);
    return t1;
}

}  // namespace

void BuildTintTables(int hue, int saturation, int lightness, TintTables& tables) {
    const int h = Clamp(hue, -180, 180) * 255 / 360;
    const int s = Clamp(Clamp(saturation, -100, 100) * 255 / 100, -255, 255);
    for (int range = 0; range < 6; ++range) {
        for (int i = 0; i < 256; ++i) {
            int v = i + h;
            if (v < 0) v += 255;
            else if (v > 255) v -= 255;
            tables.hue[range][i] = v;
            tables.saturation[range][i] = Clamp(i * (s + 255) / 255, 0, 255);
        }
    }
    const long long l = lightness;
    for (int j = 0; j < 256; ++j) {
        const long long delta = l > 0 ? l * (255 - j) / 200 : l * j / 200;
        tables.lightness[j] = Clamp(j + delta, 0, 255);
    }
}

Rgb TintRgb(const TintTables& tables, Rgb in) {
    const double r = in.r / 255.0, g = in.g / 255.0, b = in.b / 255.0;
    const double max = std::max(r, std::max(g, b));
    const double min = std::min(r, std::min(g, b));
    const double d = max - min;
    const double l = (max + min) / 2;
    double s = 0, hue = 0;
    if (max != min) {
        s = l < 0.5 ? d / (max + min) : d / (2 - max - min);
        if (r == max) hue = (g - b) / d;
        else if (g == max) hue = (b - r) / d + 2;
        else hue = (r - g) / d + 4;
        hue /= 6;
        if (hue < 0) hue += 1;
    }
    const int range = ColourRange(hue);
    hue = tables.hue[range][Clamp((long long)(hue * 255), 0, 255)] / 255.0;
    s = tables.saturation[range][Clamp((long long)(s * 255), 0, 255)] / 255.0;

    const double t2 = l < 0.5 ? l * (1 + s) : l + s - l * s;
    const double t1 = 2 * l - t2;
    const double channels[3] = {Channel(t1, t2, hue * 6 + 2), Channel(t1, t2, hue * 6), Channel(t1, t2, hue * 6 - 2)};
    uint8_t out[3];
    for (int i = 0; i < 3; ++i)
        out[i] = uint8_t(tables.lightness[Clamp((long long)(channels[i] * 255), 0, 255)]);
    return Rgb{out[0], out[1], out[2]};
}

void TintPixels(const TintTables& tables, uint8_t* bits, int width, int height, size_t stride, int bytesPerPixel) {
    if (!bits || width <= 0 || height <= 0 || (bytesPerPixel != 3 && bytesPerPixel != 4)) return;
    for (int y = 0; y < height; ++y) {
        uint8_t* p = bits + size_t(y) * stride;
        for (int x = 0; x < width; ++x, p += bytesPerPixel) {
            if (bytesPerPixel == 3) {
                const Rgb t = TintRgb(tables, Rgb{p[2], p[1], p[0]});
                p[0] = t.b, p[1] = t.g, p[2] = t.r;
                continue;
            }
            const int a = p[3];
            if (a == 0) continue;
            if (a == 255) {
                const Rgb t = TintRgb(tables, Rgb{p[2], p[1], p[0]});
                p[0] = t.b, p[1] = t.g, p[2] = t.r;
                continue;
            }
            auto straight = [a](uint8_t c) { return uint8_t(std::min(255, (c * 255 + a / 2) / a)); };
            const Rgb t = TintRgb(tables, Rgb{straight(p[2]), straight(p[1]), straight(p[0])});
            p[0] = uint8_t((t.b * a + 127) / 255);
            p[1] = uint8_t((t.g * a + 127) / 255);
            p[2] = uint8_t((t.r * a + 127) / 255);
        }
    }
}

}  // namespace kestro
