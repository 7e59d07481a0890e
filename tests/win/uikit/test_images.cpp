#include "test_images.h"

#include <objidl.h>
#include <gdiplus.h>

#include <vector>

#include "services/win/unique_handle.h"
#include "uikit/skin/gdiplus_session.h"

namespace kestro::test {

void FillBitmap(CHBitmap& bitmap, int width, int height, int bits, const PixelFn& pixel) {
    bitmap.Create(width, height, bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t v = pixel(x, y);
            uint8_t* p = bitmap.PixelAt(x, y);
            const uint32_t a = bits == 32 ? v >> 24 : 255;
            p[0] = uint8_t((v & 0xFF) * a / 255);
            p[1] = uint8_t(((v >> 8) & 0xFF) * a / 255);
            p[2] = uint8_t(((v >> 16) & 0xFF) * a / 255);
            if (bits == 32) p[3] = uint8_t(a);
        }
    }
}

std::string EncodePng(int width, int height, bool alpha, const PixelFn& pixel) {
    GdiplusScope gdiplus;
    std::vector<uint32_t> argb(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) argb[size_t(y) * size_t(width) + size_t(x)] = pixel(x, y) | (alpha ? 0 : 0xFF000000u);
    using namespace Gdiplus::DllExports;
    Gdiplus::GpBitmap* image = nullptr;
    if (GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppARGB,
                                  reinterpret_cast<BYTE*>(argb.data()), &image) != Gdiplus::Ok)
        return {};
    Gdiplus::GpBitmap* saved = image;
    Gdiplus::GpBitmap* opaque = nullptr;
    if (!alpha && GdipCloneBitmapAreaI(0, 0, width, height, PixelFormat24bppRGB, image, &opaque) == Gdiplus::Ok)
        saved = opaque;
    // The PNG encoder of GDI+.
    const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    ComPtr<IStream> stream;
    std::string out;
    if (SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) &&
        GdipSaveImageToStream(saved, stream.get(), &png, nullptr) == Gdiplus::Ok) {
        HGLOBAL block = nullptr;
        GetHGlobalFromStream(stream.get(), &block);
        STATSTG stat{};
        stream->Stat(&stat, STATFLAG_NONAME);
        const void* p = GlobalLock(block);
        out.assign(static_cast<const char*>(p), size_t(stat.cbSize.QuadPart));
        GlobalUnlock(block);
    }
    if (opaque) GdipDisposeImage(opaque);
    GdipDisposeImage(image);
    return out;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
    UniqueGdiObject brush(CreateSolidBrush(color));
    FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
}

uint32_t RgbAt(const CHBitmap& bitmap, int x, int y) {
    GdiFlush();
    const uint8_t* p = bitmap.PixelAt(x, y);
    if (!p) return 0xFFFFFFFFu;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

uint8_t AlphaAt(const CHBitmap& bitmap, int x, int y) {
    GdiFlush();
    const uint8_t* p = bitmap.PixelAt(x, y);
    return p && bitmap.bitsPerPixel == 32 ? p[3] : 0;
}

}  // namespace kestro::test
