#include "uikit/skin/painters.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "services/win/unique_handle.h"
#include "test_images.h"
#include "uikit/skin/ch_bitmap.h"

namespace kestro {
namespace {

using test::RgbAt;

constexpr uint32_t kCorner = 0xFF0000, kEdge = 0x00FF00, kCentre = 0x0000FF, kBack = 0x404040;

// A 10 x 32 source: 4-pixel corners red, edges green, centre blue.
uint32_t GridPixel(int x, int y) {
    const bool edgeX = x < 4 || x >= 6, edgeY = y < 4 || y >= 28;
    return 0xFF000000u | (edgeX && edgeY ? kCorner : (edgeX || edgeY) ? kEdge : kCentre);
}

class Target {
public:
    Target(int w, int h, int bits = 32) {
        bitmap.Create(w, h, bits);
        dc = bitmap.AcquireDc();
        test::FillSolid(dc, RECT{0, 0, w, h}, RGB(0x40, 0x40, 0x40));
    }
    ~Target() { bitmap.ReleaseDc(); }
    CHBitmap bitmap;
    HDC dc;
};

TEST(PaintImageStyle, FourPixelMarginsKeepCornersFixedAndStretchOnlyTheMiddle) {
    CHBitmap source;
    test::FillBitmap(source, 10, 32, 32, GridPixel);
    ImageStyle style;
    style.image = &source;
    style.w = 10, style.h = 32;
    style.marginLeft = style.marginTop = style.marginRight = style.marginBottom = 4;
    Target t(60, 80);
    PaintImageStyle(RECT{5, 6, 45, 70}, style, t.dc);
    const auto& b = t.bitmap;
    EXPECT_EQ(RgbAt(b, 5, 6), kCorner);
    EXPECT_EQ(RgbAt(b, 8, 9), kCorner);
    EXPECT_EQ(RgbAt(b, 9, 6), kEdge);   // corner is exactly 4 wide
    EXPECT_EQ(RgbAt(b, 5, 10), kEdge);  // and 4 high
    EXPECT_EQ(RgbAt(b, 40, 6), kEdge);
    EXPECT_EQ(RgbAt(b, 41, 6), kCorner);
    EXPECT_EQ(RgbAt(b, 44, 69), kCorner);
    EXPECT_EQ(RgbAt(b, 41, 66), kCorner);
    EXPECT_EQ(RgbAt(b, 40, 66), kEdge);
    EXPECT_EQ(RgbAt(b, 25, 38), kCentre);
    EXPECT_EQ(RgbAt(b, 9, 10), kCentre);
    EXPECT_EQ(RgbAt(b, 40, 65), kCentre);
    // Nothing outside the rectangle.
    EXPECT_EQ(RgbAt(b, 4, 6), kBack);
    EXPECT_EQ(RgbAt(b, 45, 40), kBack);
    EXPECT_EQ(RgbAt(b, 20, 70), kBack);
}

TEST(PaintImageStyle, MarginsReachingTheSourceSizeSkipTheMiddle) {
    CHBitmap source;
    test::FillBitmap(source, 10, 32, 32, GridPixel);
    ImageStyle style;
    style.image = &source;
    style.w = 10, style.h = 32;
    style.marginLeft = style.marginRight = 5;  // 5 + 5 = width: no centre column
    style.marginTop = 4, style.marginBottom = 4;
    Target t(40, 40);
    PaintImageStyle(RECT{0, 0, 40, 40}, style, t.dc);
    EXPECT_EQ(RgbAt(t.bitmap, 20, 20), kBack);  // the centre column was not drawn
    EXPECT_EQ(RgbAt(t.bitmap, 2, 20), kEdge);
    EXPECT_EQ(RgbAt(t.bitmap, 37, 20), kEdge);
}

TEST(PaintImageStyle, ZeroMarginsStretchTheWholeSourceAndEmptyRectanglesPaintNothing) {
    CHBitmap source;
    test::FillBitmap(source, 2, 2, 32, [](int, int) { return 0xFF00FF00u; });
    ImageStyle style;
    style.image = &source;
    style.w = 2, style.h = 2;
    Target t(30, 30);
    PaintImageStyle(RECT{0, 0, 20, 20}, style, t.dc);
    EXPECT_EQ(RgbAt(t.bitmap, 19, 19), 0x00FF00u);
    EXPECT_EQ(RgbAt(t.bitmap, 20, 20), kBack);
    PaintImageStyle(RECT{25, 25, 25, 29}, style, t.dc);
    EXPECT_EQ(RgbAt(t.bitmap, 25, 26), kBack);
}

TEST(PaintImageStyle, PerPixelAlphaBlendsOverTheTarget) {
    CHBitmap source;
    // Red at half coverage over the grey target: 128 + 64 * 127 / 255.
    test::FillBitmap(source, 4, 4, 32, [](int x, int) { return x < 2 ? 0x80FF0000u : 0x00000000u; });
    ImageStyle style;
    style.image = &source;
    style.w = 4, style.h = 4;
    Target t(4, 4);
    PaintImageStyle(RECT{0, 0, 4, 4}, style, t.dc);
    const uint32_t blended = RgbAt(t.bitmap, 0, 0);
    EXPECT_NEAR(int(blended >> 16), 128 + 64 * 127 / 255, 2);
    EXPECT_NEAR(int(blended & 0xFF), 64 * 127 / 255, 2);
    EXPECT_EQ(RgbAt(t.bitmap, 3, 0), kBack);  // alpha 0 leaves the target
}

TEST(PaintImageStyle, ColourKeyedTwentyFourBitImagesLeaveKeyPixelsTransparent) {
    CHBitmap source;
    // Magenta left half, yellow right half.
    test::FillBitmap(source, 8, 8, 24, [](int x, int) { return x < 4 ? 0xFF00FFu : 0xFFFF00u; });
    ImageStyle style;
    style.image = &source;
    style.w = 8, style.h = 8;
    style.colorKey = RGB(255, 0, 255);
    Target same(8, 8, 24);
    PaintImageStyle(RECT{0, 0, 8, 8}, style, same.dc);
    EXPECT_EQ(RgbAt(same.bitmap, 1, 1), kBack);
    EXPECT_EQ(RgbAt(same.bitmap, 6, 1), 0xFFFF00u);
    Target stretched(32, 16, 24);
    PaintImageStyle(RECT{0, 0, 32, 16}, style, stretched.dc);
    EXPECT_EQ(RgbAt(stretched.bitmap, 2, 8), kBack);
    EXPECT_EQ(RgbAt(stretched.bitmap, 28, 8), 0xFFFF00u);
    // Without a key the magenta is copied.
    style.colorKey = 0;
    Target plain(8, 8, 24);
    PaintImageStyle(RECT{0, 0, 8, 8}, style, plain.dc);
    EXPECT_EQ(RgbAt(plain.bitmap, 1, 1), 0xFF00FFu);
}

TEST(PaintImageStyle, ForegroundSitsAtItsPlacementAtItsOwnSize) {
    CHBitmap fg;
    // A 24-bit foreground with a black border: key 0 makes black transparent.
    test::FillBitmap(fg, 4, 4, 24, [](int x, int y) { return (x == 0 || y == 0) ? 0x000000u : 0x00FFFFu; });
    ImageStyle style;
    style.fgImage = &fg;
    style.fgW = 4, style.fgH = 4;
    style.fgPlacement = 128;  // bottom right
    style.fgDx = -1, style.fgDy = -2;
    Target t(20, 20);
    PaintImageStyle(RECT{0, 0, 20, 20}, style, t.dc);
    // Placed at (16, 16), moved to (15, 14).
    EXPECT_EQ(RgbAt(t.bitmap, 16, 15), 0x00FFFFu);
    EXPECT_EQ(RgbAt(t.bitmap, 18, 17), 0x00FFFFu);
    EXPECT_EQ(RgbAt(t.bitmap, 15, 14), kBack);  // the black key pixel
    EXPECT_EQ(RgbAt(t.bitmap, 19, 18), kBack);
    // Centred by default: (10 - 2, 10 - 2).
    style.fgPlacement = 0;
    style.fgDx = style.fgDy = 0;
    Target c(20, 20);
    PaintImageStyle(RECT{0, 0, 20, 20}, style, c.dc);
    EXPECT_EQ(RgbAt(c.bitmap, 9, 9), 0x00FFFFu);
    EXPECT_EQ(RgbAt(c.bitmap, 12, 12), kBack);
}

TEST(TextPainting, MeasuringGrowsWithTheTextAndHonoursTheFont) {
    Target t(200, 60);
    TextStyle style;
    style.align = 36;
    const SIZE one = MeasureTextStyle(t.dc, style, RECT{0, 0, 400, 60}, L"Setup");
    const SIZE two = MeasureTextStyle(t.dc, style, RECT{0, 0, 400, 60}, L"SetupSetup");
    EXPECT_GT(one.cx, 10);
    EXPECT_GT(one.cy, 5);
    EXPECT_GT(two.cx, one.cx + one.cx / 2);
    LOGFONTW lf{};
    lf.lfHeight = -28;
    wcscpy(lf.lfFaceName, L"Tahoma");
    UniqueGdiObject big(CreateFontIndirectW(&lf));
    style.font = static_cast<HFONT>(big.get());
    const SIZE large = MeasureTextStyle(t.dc, style, RECT{0, 0, 400, 60}, L"Setup");
    EXPECT_GT(large.cy, one.cy);
    style.text = L"Setup";
    EXPECT_EQ(MeasureTextStyle(t.dc, style, RECT{0, 0, 400, 60}, nullptr).cx, large.cx);
    EXPECT_EQ(MeasureTextStyle(t.dc, style, RECT{0, 0, 400, 60}, L"").cx, 0);
}

TEST(TextPainting, DrawingStaysInsideTheClipRectangle) {
    Target t(200, 40);
    TextStyle style;
    style.align = 37;
    style.color = RGB(255, 255, 255);
    const RECT clip{0, 0, 100, 40};
    DrawTextStyle(RECT{0, 0, 200, 40}, L"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", t.dc, &clip, style);
    int changedInside = 0, changedOutside = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            if (RgbAt(t.bitmap, x, y) != kBack) (x < 100 ? changedInside : changedOutside)++;
    EXPECT_GT(changedInside, 0);
    EXPECT_EQ(changedOutside, 0);
}

TEST(CHBitmapTest, CreateAndCopyRefuseWhatIsNotAPlainDib) {
    CHBitmap b;
    EXPECT_FALSE(b.Create(0, 5, 32));
    EXPECT_FALSE(b.Create(5, 5, 16));
    ASSERT_TRUE(b.Create(3, 2, 24));
    EXPECT_EQ(b.stride, 12);
    EXPECT_EQ(b.imageSize, 24u);
    CHBitmap copy;
    EXPECT_FALSE(copy.CopyFrom(b.header, b.bits, 23));
    BITMAPINFOHEADER rle = b.header;
    rle.biCompression = BI_RLE8;
    EXPECT_FALSE(copy.CopyFrom(rle, b.bits, 24));
    b.PixelAt(2, 0)[2] = 200;
    ASSERT_TRUE(copy.CopyFrom(b.header, b.bits, 24));
    EXPECT_EQ(copy.PixelAt(2, 0)[2], 200);
}

TEST(CHBitmapTest, DecodesPngWithAndWithoutAlpha) {
    const std::string withAlpha = test::EncodePng(5, 3, true, [](int x, int) { return x == 0 ? 0x80FF0000u : 0xFF00FF00u; });
    CHBitmap a;
    ASSERT_TRUE(a.Decode(withAlpha.data(), withAlpha.size()));
    EXPECT_EQ(a.bitsPerPixel, 32);
    EXPECT_EQ(a.width, 5);
    EXPECT_EQ(a.height, 3);
    EXPECT_NEAR(test::AlphaAt(a, 0, 0), 128, 1);
    EXPECT_NEAR(int(RgbAt(a, 0, 0) >> 16), 128, 1);  // premultiplied
    EXPECT_EQ(RgbAt(a, 4, 2), 0x00FF00u);
    const std::string opaque = test::EncodePng(4, 4, false, [](int, int y) { return y == 0 ? 0xFF00FFu : 0x123456u; });
    CHBitmap o;
    ASSERT_TRUE(o.Decode(opaque.data(), opaque.size()));
    EXPECT_EQ(o.bitsPerPixel, 24);
    EXPECT_EQ(RgbAt(o, 0, 0), 0xFF00FFu);
    EXPECT_EQ(RgbAt(o, 3, 3), 0x123456u);
    CHBitmap bad;
    EXPECT_FALSE(bad.Decode("not an image", 12));
    EXPECT_EQ(bad.GetDib(), nullptr);
}

TEST(CHBitmapTest, RegionCoversTheMagentaRunsOnly) {
    CHBitmap b;
    test::FillBitmap(b, 6, 3, 24, [](int x, int y) { return (y == 0 && x < 3) || (y == 2 && x >= 4) ? 0xFF00FFu : 0u; });
    UniqueRegion region(RegionFromMagenta(b));
    ASSERT_TRUE(region);
    EXPECT_TRUE(PtInRegion(region.get(), 0, 0));
    EXPECT_TRUE(PtInRegion(region.get(), 2, 0));
    EXPECT_FALSE(PtInRegion(region.get(), 3, 0));
    EXPECT_FALSE(PtInRegion(region.get(), 1, 1));
    EXPECT_TRUE(PtInRegion(region.get(), 5, 2));
    CHBitmap none;
    test::FillBitmap(none, 2, 2, 24, [](int, int) { return 0u; });
    EXPECT_EQ(RegionFromMagenta(none), nullptr);
}

}  // namespace
}  // namespace kestro

namespace kestro {
namespace {

TEST(CHBitmapTest, DrawBlendsCopiesOrStretchesTheSourceRectangle) {
    // Top half red, bottom half blue, in top-down coordinates.
    CHBitmap opaque;
    test::FillBitmap(opaque, 4, 4, 24, [](int, int y) { return y < 2 ? 0xFF0000u : 0x0000FFu; });
    CHBitmap target;
    ASSERT_TRUE(target.Create(16, 16, 24));
    HDC dc = target.AcquireDc();
    ASSERT_TRUE(opaque.Draw(dc, 0, 0, 8, 8, 0, 0, 4, 2));  // the red half stretched
    EXPECT_EQ(test::RgbAt(target, 0, 0), 0xFF0000u);
    EXPECT_EQ(test::RgbAt(target, 7, 7), 0xFF0000u);
    ASSERT_TRUE(opaque.Draw(dc, 8, 0, 4, 2, 0, 2, 4, 2));  // the blue half at its own size
    EXPECT_EQ(test::RgbAt(target, 9, 1), 0x0000FFu);
    CHBitmap half;
    test::FillBitmap(half, 2, 2, 32, [](int, int) { return 0x8000FF00u; });
    ASSERT_TRUE(half.Draw(dc, 12, 12));
    EXPECT_NEAR(int((test::RgbAt(target, 12, 12) >> 8) & 0xFF), 128, 2);  // green at half coverage over black
    EXPECT_FALSE(half.Draw(dc, 0, 0, 0, 4, 0, 0, 2, 2));
    target.ReleaseDc();
}

}  // namespace
}  // namespace kestro
