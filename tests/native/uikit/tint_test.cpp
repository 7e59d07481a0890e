#include "uikit/core/tint.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

TEST(Tint, TablesFollowTheClampedParameters) {
    TintTables t;
    BuildTintTables(120, 0, 50, t);
    // h = 120 * 255 / 360 = 85; entries wrap by 255.
    EXPECT_EQ(t.hue[0][0], 85);
    EXPECT_EQ(t.hue[5][170], 255);
    EXPECT_EQ(t.hue[3][200], 30);
    // s = 0: the identity.
    EXPECT_EQ(t.saturation[2][77], 77);
    // L = 50: j + 50 * (255 - j) / 200.
    EXPECT_EQ(t.lightness[0], 63);
    EXPECT_EQ(t.lightness[100], 138);
    EXPECT_EQ(t.lightness[255], 255);

    BuildTintTables(-500, -300, -50, t);  // clamped to -180 and -100
    EXPECT_EQ(t.hue[0][0], 255 - 127);    // -180 * 255 / 360 = -127, plus 255
    EXPECT_EQ(t.saturation[0][200], 0);
    EXPECT_EQ(t.lightness[200], 150);     // 200 - 50 * 200 / 200

    BuildTintTables(0, 50, 300, t);  // lightness is not clamped, its results are
    EXPECT_EQ(t.saturation[0][100], 100 * (127 + 255) / 255);
    EXPECT_EQ(t.lightness[10], 255);
}

TEST(Tint, PureRedTurnedByAThirdOfTheCircleIsPureGreen) {
    TintTables t;
    BuildTintTables(120, 0, 0, t);
    const Rgb out = TintRgb(t, Rgb{255, 0, 0});
    EXPECT_EQ(out.r, 0);
    EXPECT_EQ(out.g, 255);
    EXPECT_EQ(out.b, 0);
}

TEST(Tint, FullDesaturationGivesTheLightnessGrey) {
    TintTables t;
    BuildTintTables(0, -100, 0, t);
    // Red: l = 0.5, so 0.5 * 255 = 127.5, cut to 127.
    const Rgb out = TintRgb(t, Rgb{255, 0, 0});
    EXPECT_EQ(out.r, 127);
    EXPECT_EQ(out.g, 127);
    EXPECT_EQ(out.b, 127);
}

TEST(Tint, LightnessTableIsAppliedAfterTheHslRoundTrip) {
    TintTables t;
    BuildTintTables(0, 0, 50, t);
    // Black stays hue-less; each channel 0 -> 63.
    const Rgb out = TintRgb(t, Rgb{0, 0, 0});
    EXPECT_EQ(out.r, 63);
    EXPECT_EQ(out.g, 63);
    EXPECT_EQ(out.b, 63);
    const Rgb white = TintRgb(t, Rgb{255, 255, 255});
    EXPECT_EQ(white.r, 255);
}

TEST(Tint, PixelsKeepAlphaAndStayPremultiplied) {
    TintTables t;
    BuildTintTables(120, 0, 0, t);
    // B, G, R, A: opaque red, half-transparent red (premultiplied 128), transparent.
    uint8_t px[12] = {0, 0, 255, 255, 0, 0, 128, 128, 9, 9, 9, 0};
    TintPixels(t, px, 3, 1, 12, 4);
    EXPECT_EQ(px[0], 0);
    EXPECT_EQ(px[1], 255);
    EXPECT_EQ(px[2], 0);
    EXPECT_EQ(px[3], 255);
    EXPECT_EQ(px[5], 128);  // green at the same coverage
    EXPECT_EQ(px[6], 0);
    EXPECT_EQ(px[7], 128);
    EXPECT_EQ(px[8], 9);  // untouched: nothing to tint
    EXPECT_EQ(px[11], 0);

    uint8_t rgb[3] = {0, 0, 255};
    TintPixels(t, rgb, 1, 1, 4, 3);
    EXPECT_EQ(rgb[1], 255);
    EXPECT_EQ(rgb[2], 0);
}

}  // namespace
}  // namespace kestro
