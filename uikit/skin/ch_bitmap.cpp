#include "ch_bitmap.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstring>
#include <vector>

#include "services/win/unique_handle.h"
#include "uikit/skin/gdiplus_session.h"

namespace kestro {
namespace {

int StrideOf(int width, int bitsPerPixel) { return ((width * bitsPerPixel + 31) / 32) * 4; }

// The GDI+ image of an encoded byte stream; the stream owns its memory block.
class GdipImage {
public:
    GdipImage(const void* data, size_t size) {
        UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, size));
        if (!block) return;
        void* p = GlobalLock(block.get());
        if (!p) return;
        memcpy(p, data, size);
        GlobalUnlock(block.get());
        if (FAILED(CreateStreamOnHGlobal(block.get(), TRUE, stream_.put()))) return;
        block.release();  // the stream frees it
        Gdiplus::DllExports::GdipCreateBitmapFromStream(stream_.get(), &bitmap_);
    }
    ~GdipImage() {
        if (bitmap_) Gdiplus::DllExports::GdipDisposeImage(bitmap_);
    }
    Gdiplus::GpBitmap* get() const { return bitmap_; }

private:
    ComPtr<IStream> stream_;
    Gdiplus::GpBitmap* bitmap_ = nullptr;
};

}  // namespace

CHBitmap::CHBitmap() { GdiplusAddUser(); }

CHBitmap::~CHBitmap() {
    Free();
    GdiplusRemoveUser();
}

bool CHBitmap::Create(int w, int h, int bpp) {
    if (w <= 0 || h <= 0 || (bpp != 24 && bpp != 32)) return false;
    if (int64_t(w) * h > 0x4000000) return false;  // 64M pixels: larger is no skin image
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = WORD(bpp);
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    UniqueBitmap made(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!made || !pixels) return false;
    Free();
    dib_ = std::move(made);
    bits = static_cast<uint8_t*>(pixels);
    bitsPerPixel = bpp;
    width = w;
    height = h;
    stride = StrideOf(w, bpp);
    imageSize = uint32_t(stride) * uint32_t(h);
    header = info.bmiHeader;
    header.biSizeImage = imageSize;
    memset(bits, 0, imageSize);
    return true;
}

bool CHBitmap::CopyFrom(const BITMAPINFOHEADER& from, const void* source, size_t byteCount) {
    if (from.biCompression != BI_RGB || (from.biBitCount != 24 && from.biBitCount != 32) || !source) return false;
    const int w = from.biWidth;
    const int h = from.biHeight < 0 ? -from.biHeight : from.biHeight;
    if (w <= 0 || h <= 0) return false;
    if (uint64_t(StrideOf(w, from.biBitCount)) * uint64_t(h) != byteCount) return false;
    if (!Create(w, h, from.biBitCount)) return false;
    if (from.biHeight > 0) {
        memcpy(bits, source, imageSize);
    } else {
        // Top-down source rows: store them bottom-up like every bitmap of ours.
        const auto* src = static_cast<const uint8_t*>(source);
        for (int y = 0; y < h; ++y) memcpy(bits + size_t(h - 1 - y) * stride, src + size_t(y) * stride, stride);
    }
    return true;
}

void CHBitmap::Free() {
    ReleaseDc();
    dib_.reset();
    bits = nullptr;
    bitsPerPixel = width = height = stride = 0;
    imageSize = 0;
    header = BITMAPINFOHEADER{};
}

bool CHBitmap::Decode(const void* data, size_t size) {
    if (!data || size == 0 || !GdiplusEnsureStarted()) return false;
    GdipImage image(data, size);
    if (!image.get()) return false;
    UINT w = 0, h = 0;
    Gdiplus::PixelFormat format = 0;
    using namespace Gdiplus::DllExports;
    if (GdipGetImageWidth(image.get(), &w) != Gdiplus::Ok || GdipGetImageHeight(image.get(), &h) != Gdiplus::Ok ||
        GdipGetImagePixelFormat(image.get(), &format) != Gdiplus::Ok)
        return false;
    const bool alpha = (format & PixelFormatAlpha) != 0;
    CHBitmap decoded;
    if (!decoded.Create(int(w), int(h), alpha ? 32 : 24)) return false;
    // Premultiplied pixels straight from GDI+: drawing through an HDC would lose alpha.
    Gdiplus::Rect all(0, 0, int(w), int(h));
    Gdiplus::BitmapData locked{};
    if (GdipBitmapLockBits(image.get(), &all, Gdiplus::ImageLockModeRead,
                           alpha ? PixelFormat32bppPARGB : PixelFormat24bppRGB, &locked) != Gdiplus::Ok)
        return false;
    const size_t rowBytes = size_t(w) * (alpha ? 4 : 3);
    for (UINT y = 0; y < h; ++y) {
        const auto* src = static_cast<const uint8_t*>(locked.Scan0) + ptrdiff_t(y) * locked.Stride;
        memcpy(decoded.PixelAt(0, int(y)), src, rowBytes);
    }
    GdipBitmapUnlockBits(image.get(), &locked);
    // Adopt the decoded DIB.
    Free();
    std::swap(bitsPerPixel, decoded.bitsPerPixel);
    std::swap(width, decoded.width);
    std::swap(height, decoded.height);
    std::swap(stride, decoded.stride);
    std::swap(bits, decoded.bits);
    std::swap(imageSize, decoded.imageSize);
    std::swap(header, decoded.header);
    std::swap(dib_, decoded.dib_);
    return true;
}

void CHBitmap::DecodeOnFirstUse(std::string encoded) {
    Free();
    pending_ = std::move(encoded);
}

bool CHBitmap::DecodePending() {
    if (!pending_.empty()) {
        const std::string encoded = std::move(pending_);
        pending_.clear();
        Decode(encoded.data(), encoded.size());
    }
    return static_cast<bool>(dib_);
}

HDC CHBitmap::AcquireDc() {
    if (!DecodePending()) return nullptr;
    if (!memDc_) {
        memDc_.reset(CreateCompatibleDC(nullptr));
        if (!memDc_) return nullptr;
        previous_ = SelectObject(memDc_.get(), dib_.get());
    }
    return memDc_.get();
}

void CHBitmap::ReleaseDc() {
    if (!memDc_) return;
    SelectObject(memDc_.get(), previous_);
    memDc_.reset();
    previous_ = nullptr;
}

bool CHBitmap::Draw(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh) {
    if (!DecodePending() || !dc || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return false;
    bool ok;
    if (bitsPerPixel == 32) {
        HDC src = AcquireDc();
        if (!src) return false;
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ok = AlphaBlend(dc, x, y, w, h, src, sx, sy, sw, sh, blend) != FALSE;
        ReleaseDc();
    } else if (w == sw && h == sh) {
        HDC src = AcquireDc();
        if (!src) return false;
        ok = BitBlt(dc, x, y, w, h, src, sx, sy, SRCCOPY) != FALSE;
        ReleaseDc();
    } else {
        BITMAPINFO info{};
        info.bmiHeader = header;
        const int oldMode = SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        // StretchDIBits counts source rows from the bottom of a bottom-up DIB.
        ok = StretchDIBits(dc, x, y, w, h, sx, height - sy - sh, sw, sh, bits, &info, DIB_RGB_COLORS, SRCCOPY) != 0;
        SetStretchBltMode(dc, oldMode);
    }
    return ok;
}

uint8_t* CHBitmap::PixelAt(int x, int y) const {
    if (!bits || x < 0 || y < 0 || x >= width || y >= height) return nullptr;
    return bits + size_t(height - 1 - y) * size_t(stride) + size_t(x) * size_t(bitsPerPixel / 8);
}

HRGN RegionFromMagenta(const CHBitmap& bitmap) {
    if (!bitmap.bits || bitmap.bitsPerPixel != 24) return nullptr;
    const size_t kStep = 100;
    std::vector<RECT> rects;
    rects.reserve(kStep);
    for (int y = 0; y < bitmap.height; ++y) {
        int x = 0;
        while (x < bitmap.width) {
            auto magenta = [&](int px) {
                const uint8_t* p = bitmap.PixelAt(px, y);
                return p[0] == 255 && p[1] == 0 && p[2] == 255;
            };
            if (!magenta(x)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < bitmap.width && magenta(x)) ++x;
            if (rects.size() == rects.capacity()) rects.reserve(rects.size() + kStep);
            rects.push_back(RECT{start, y, x, y + 1});
        }
    }
    if (rects.empty()) return nullptr;
    std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* region = reinterpret_cast<RGNDATA*>(data.data());
    region->rdh.dwSize = sizeof(RGNDATAHEADER);
    region->rdh.iType = RDH_RECTANGLES;
    region->rdh.nCount = DWORD(rects.size());
    region->rdh.nRgnSize = DWORD(rects.size() * sizeof(RECT));
    region->rdh.rcBound = RECT{0, 0, bitmap.width, bitmap.height};
    memcpy(region->Buffer, rects.data(), rects.size() * sizeof(RECT));
    return ExtCreateRegion(nullptr, DWORD(data.size()), region);
}

}  // namespace kestro
