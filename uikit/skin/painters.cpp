#include "painters.h"

#include <objidl.h>
#include <gdiplus.h>

#include <array>

#include "services/win/unique_handle.h"
#include "uikit/core/nine_grid.h"
#include "uikit/skin/ch_bitmap.h"
#include "uikit/skin/gdiplus_session.h"
#include "uikit/skin/toolkit_fonts.h"

namespace kestro {
namespace {

using namespace Gdiplus::DllExports;

void BlendPiece(HDC dc, CHBitmap& image, HDC src, const GridPiece& p) {
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, p.dst.x, p.dst.y, p.dst.w, p.dst.h, src, p.src.x, p.src.y, p.src.w, p.src.h, blend);
}

// A 24-bit piece with a colour key: stretched with halftone into a scratch bitmap
// first, so the key survives only where it was.
void KeyedPiece(HDC dc, HDC src, const GridPiece& p, COLORREF key) {
    if (p.src.w == p.dst.w && p.src.h == p.dst.h) {
        TransparentBlt(dc, p.dst.x, p.dst.y, p.dst.w, p.dst.h, src, p.src.x, p.src.y, p.src.w, p.src.h, key);
        return;
    }
    CHBitmap scratch;
    if (!scratch.Create(p.dst.w, p.dst.h, 24)) return;
    HDC tmp = scratch.AcquireDc();
    if (!tmp) return;
    SetStretchBltMode(tmp, HALFTONE);
    SetBrushOrgEx(tmp, 0, 0, nullptr);
    StretchBlt(tmp, 0, 0, p.dst.w, p.dst.h, src, p.src.x, p.src.y, p.src.w, p.src.h, SRCCOPY);
    TransparentBlt(dc, p.dst.x, p.dst.y, p.dst.w, p.dst.h, tmp, 0, 0, p.dst.w, p.dst.h, key);
    scratch.ReleaseDc();
}

void CopyPiece(HDC dc, HDC src, const GridPiece& p) {
    if (p.src.w == p.dst.w && p.src.h == p.dst.h) {
        BitBlt(dc, p.dst.x, p.dst.y, p.dst.w, p.dst.h, src, p.src.x, p.src.y, SRCCOPY);
        return;
    }
    const int old = SetStretchBltMode(dc, HALFTONE);
    POINT origin;
    SetBrushOrgEx(dc, 0, 0, &origin);
    StretchBlt(dc, p.dst.x, p.dst.y, p.dst.w, p.dst.h, src, p.src.x, p.src.y, p.src.w, p.src.h, SRCCOPY);
    SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
    SetStretchBltMode(dc, old);
}

struct GdipText {
    Gdiplus::GpGraphics* graphics = nullptr;
    Gdiplus::GpFont* font = nullptr;
    Gdiplus::GpSolidFill* brush = nullptr;
    Gdiplus::GpStringFormat* format = nullptr;
    ~GdipText() {
        if (format) GdipDeleteStringFormat(format);
        if (brush) GdipDeleteBrush(brush);
        if (font) GdipDeleteFont(font);
        if (graphics) GdipDeleteGraphics(graphics);
    }
    bool Open(HDC dc, const TextStyle& style) {
        if (GdipCreateFromHDC(dc, &graphics) != Gdiplus::Ok) return false;
        HFONT hfont = style.font ? style.font : ToolkitNormalFont();
        LOGFONTW lf{};
        if (!hfont || !GetObjectW(hfont, sizeof(lf), &lf)) return false;
        if (GdipCreateFontFromLogfontW(dc, &lf, &font) != Gdiplus::Ok) return false;
        // Alpha 254, not 255: text stays distinguishable from opaque image pixels.
        const Gdiplus::ARGB argb = (Gdiplus::ARGB(254) << 24) | (Gdiplus::ARGB(GetRValue(style.color)) << 16) |
                                   (Gdiplus::ARGB(GetGValue(style.color)) << 8) | GetBValue(style.color);
        if (GdipCreateSolidFill(argb, &brush) != Gdiplus::Ok) return false;
        return GdipCreateStringFormat(0, LANG_NEUTRAL, &format) == Gdiplus::Ok;
    }
};

}  // namespace

void PaintImageStyle(const RECT& rect, const ImageStyle& style, HDC dc) {
    const int W = rect.right - rect.left, H = rect.bottom - rect.top;
    if (W <= 0 || H <= 0 || !dc) return;
    if (style.image && style.w > 0 && style.h > 0) {
        std::array<GridPiece, 9> pieces;
        const int count = NineGridPieces({rect.left, rect.top, W, H}, {style.x, style.y, style.w, style.h},
                                         {style.marginLeft, style.marginTop, style.marginRight, style.marginBottom},
                                         pieces);
        CHBitmap& image = *style.image;
        if (HDC src = image.AcquireDc()) {
            for (int i = 0; i < count; ++i) {
                if (image.bitsPerPixel == 32) BlendPiece(dc, image, src, pieces[size_t(i)]);
                else if (style.colorKey) KeyedPiece(dc, src, pieces[size_t(i)], style.colorKey);
                else CopyPiece(dc, src, pieces[size_t(i)]);
            }
            image.ReleaseDc();
        }
    }
    if (style.fgImage && style.fgW > 0 && style.fgH > 0) {
        int x = 0, y = 0;
        ForegroundOrigin(rect.left, rect.top, rect.right, rect.bottom, style.fgW, style.fgH, style.fgPlacement,
                         style.fgDx, style.fgDy, x, y);
        CHBitmap& image = *style.fgImage;
        if (HDC src = image.AcquireDc()) {
            const GridPiece piece{{style.fgX, style.fgY, style.fgW, style.fgH}, {x, y, style.fgW, style.fgH}};
            if (image.bitsPerPixel == 32) BlendPiece(dc, image, src, piece);
            else TransparentBlt(dc, x, y, style.fgW, style.fgH, src, style.fgX, style.fgY, style.fgW, style.fgH,
                                style.fgColorKey);
            image.ReleaseDc();
        }
    }
}

void DrawTextStyle(const RECT& rect, const wchar_t* text, HDC dc, const RECT* clip, const TextStyle& style) {
    const wchar_t* s = text ? text : style.text.c_str();
    if (!dc || !s || !*s) return;
    GdiplusScope gdiplus;
    if (!gdiplus.ok()) return;
    GdipText t;
    if (!t.Open(dc, style)) return;
    const Gdiplus::RectF box(Gdiplus::REAL(rect.left + style.dx), Gdiplus::REAL(rect.top + style.dy),
                             Gdiplus::REAL(rect.right - rect.left), Gdiplus::REAL(rect.bottom - rect.top));
    const uint32_t al = style.align;
    GdipSetStringFormatAlign(t.format, (al & kTextCenter)  ? Gdiplus::StringAlignmentCenter
                                       : (al & kTextRight) ? Gdiplus::StringAlignmentFar
                                                           : Gdiplus::StringAlignmentNear);
    GdipSetStringFormatLineAlign(t.format, (al & kTextVCenter)  ? Gdiplus::StringAlignmentCenter
                                           : (al & kTextBottom) ? Gdiplus::StringAlignmentFar
                                                                : Gdiplus::StringAlignmentNear);
    if (al & kTextSingleLine) GdipSetStringFormatFlags(t.format, Gdiplus::StringFormatFlagsNoWrap);
    if (al & kTextEllipsis) GdipSetStringFormatTrimming(t.format, Gdiplus::StringTrimmingEllipsisCharacter);
    if (clip)
        GdipSetClipRectI(t.graphics, clip->left, clip->top, clip->right - clip->left, clip->bottom - clip->top,
                         Gdiplus::CombineModeReplace);
    GdipDrawString(t.graphics, s, -1, t.font, &box, t.format, t.brush);
}

SIZE MeasureTextStyle(HDC dc, const TextStyle& style, const RECT& rect, const wchar_t* text) {
    SIZE size{0, 0};
    const wchar_t* s = text ? text : style.text.c_str();
    if (!dc || !s || !*s) return size;
    GdiplusScope gdiplus;
    if (!gdiplus.ok()) return size;
    GdipText t;
    if (!t.Open(dc, style)) return size;
    const uint32_t al = style.align;
    if (al & kTextCenter) GdipSetStringFormatAlign(t.format, Gdiplus::StringAlignmentCenter);
    if ((al & kTextSingleLine) && (al & kTextVCenter))
        GdipSetStringFormatLineAlign(t.format, Gdiplus::StringAlignmentCenter);
    const Gdiplus::RectF box(Gdiplus::REAL(rect.left), Gdiplus::REAL(rect.top), Gdiplus::REAL(rect.right - rect.left),
                             Gdiplus::REAL(rect.bottom - rect.top));
    Gdiplus::RectF bound;
    INT fitted = 0, lines = 0;
    if (GdipMeasureString(t.graphics, s, -1, t.font, &box, t.format, &bound, &fitted, &lines) == Gdiplus::Ok) {
        size.cx = LONG(bound.Width);
        size.cy = LONG(bound.Height);
    }
    return size;
}

}  // namespace kestro
