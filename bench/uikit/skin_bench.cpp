// Loads the default skin package and decodes every image; tints every cached image.
// Each figure is the median of N runs, with a peer measured in the same run:
//   load + decode   vs  GDI+ decoding the same PNG blobs alone (no DIB, no cache)
//   SetTint         vs  restoring the same images from their untinted copies (SetTint 0, 0, 0)
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "services/win/unique_handle.h"
#include "uikit/skin/gdiplus_session.h"
#include "uikit/skin/ui_resource.h"

using namespace kestro;

namespace {

double Now() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(f.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::vector<int> ImageIds(UIResource& skin) {
    std::vector<int> ids;
    std::string bytes;
    for (int id = 0; id < 1000; ++id)
        if (skin.GetData("images", id, bytes)) ids.push_back(id);
    return ids;
}

void DecodeWithGdiplusOnly(const std::string& png) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, png.size());
    memcpy(GlobalLock(block), png.data(), png.size());
    GlobalUnlock(block);
    ComPtr<IStream> stream;
    CreateStreamOnHGlobal(block, TRUE, stream.put());
    Gdiplus::GpBitmap* bitmap = nullptr;
    Gdiplus::DllExports::GdipCreateBitmapFromStream(stream.get(), &bitmap);
    // Force the decode: GDI+ decodes lazily until pixels are asked for.
    Gdiplus::Rect all(0, 0, 1, 1);
    Gdiplus::BitmapData data{};
    if (bitmap && Gdiplus::DllExports::GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeRead,
                                                           PixelFormat32bppPARGB, &data) == Gdiplus::Ok)
        Gdiplus::DllExports::GdipBitmapUnlockBits(bitmap, &data);
    if (bitmap) Gdiplus::DllExports::GdipDisposeImage(bitmap);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: skin_bench <package.uir> [runs]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 31;
    GdiplusScope gdiplus;  // keeps GDI+ started across runs, as a running installer does

    std::vector<double> load, peerDecode, tint, restore;
    size_t pixels = 0;
    for (int r = 0; r < runs; ++r) {
        UIResource skin;
        double t0 = Now();
        if (!skin.LoadFromBuffer(bytes.data(), bytes.size())) return 1;
        const std::vector<int> ids = ImageIds(skin);
        pixels = 0;
        for (int id : ids) {
            CHBitmap* b = skin.GetImage(id, true);
            if (!b) return 1;
            pixels += size_t(b->width) * size_t(b->height);
        }
        load.push_back(Now() - t0);

        std::vector<std::string> blobs;
        for (int id : ids) {
            std::string png;
            skin.GetData("images", id, png);
            blobs.push_back(png);
        }
        t0 = Now();
        for (const std::string& png : blobs) DecodeWithGdiplusOnly(png);
        peerDecode.push_back(Now() - t0);

        skin.SetTint(0, 0, 0);  // makes the untinted copies exist before timing
        t0 = Now();
        skin.SetTint(40, 20, 10);
        tint.push_back(Now() - t0);
        t0 = Now();
        skin.SetTint(0, 0, 0);
        restore.push_back(Now() - t0);
    }
    std::printf("images: %zu pixels in the default skin, %d runs, package %zu bytes\n", pixels, runs, bytes.size());
    std::printf("load + decode every image: %.2f ms (peer: GDI+ decode alone %.2f ms, ratio %.2f)\n", Median(load),
                Median(peerDecode), Median(load) / Median(peerDecode));
    std::printf("SetTint(40, 20, 10) over all cached images: %.2f ms (peer: restore only %.2f ms, ratio %.1f)\n",
                Median(tint), Median(restore), Median(tint) / Median(restore));
    return 0;
}
