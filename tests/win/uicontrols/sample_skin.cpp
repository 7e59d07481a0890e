#include "sample_skin.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "tests/win/uikit/test_images.h"
#include "uikit/core/skin_package.h"

namespace kestro::sample {
namespace {

uint32_t Opaque(unsigned rgb) { return 0xFF000000u | rgb; }

uint32_t Shade(unsigned rgb, int delta) {
    auto c = [&](int shift) { return uint32_t(std::clamp(int((rgb >> shift) & 0xFF) + delta, 0, 255)) << shift; };
    return 0xFF000000u | c(16) | c(8) | c(0);
}

// A rounded face with a border one shade darker; corners fade out.
uint32_t Face(int x, int y, int w, int h, unsigned fill) {
    const int r = 4;
    const int cx = x < r ? r - x : (x >= w - r ? x - (w - r - 1) : 0);
    const int cy = y < r ? r - y : (y >= h - r ? y - (h - r - 1) : 0);
    if (cx * cx + cy * cy > r * r) return 0;
    const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1 || cx * cx + cy * cy > (r - 1) * (r - 1);
    return edge ? Shade(fill, -40) : Opaque(fill);
}

std::string ButtonStrip() {
    const unsigned fills[4] = {kButtonNormal, kButtonLighted, kButtonPressed, kButtonGrayed};
    return test::EncodePng(60, 117, true, [&](int x, int y) -> uint32_t {
        for (int i = 0; i < 4; ++i) {
            const int top = 1 + 29 * i;
            if (y >= top && y < top + 28) return Face(x, y - top, 60, 28, fills[i]);
        }
        return 0;
    });
}

// Faces of 16 x 16: 0 box, 1 box lighted, 2 checked, 3 box grayed, 4 checked lighted,
// 5 checked grayed, 6 radio, 7 radio lighted, 8 radio checked, 9 radio grayed.
std::string CheckStrip() {
    return test::EncodePng(160, 16, true, [](int x, int y) -> uint32_t {
        const int face = x / 16;
        const int fx = x % 16;
        const bool radio = face >= 6;
        const bool checked = face == 2 || face == 4 || face == 5 || face == 8;
        const bool lighted = face == 1 || face == 4 || face == 7;
        const bool grayed = face == 3 || face == 5 || face == 9;
        const unsigned accent = grayed ? 0xA0A8B4 : (lighted ? 0x5B9BEF : 0x3A7BD5);
        if (radio) {
            const double d = std::hypot(fx - 7.5, y - 7.5);
            if (d > 7.5) return 0;
            if (d > 6.3) return Opaque(accent);
            if (checked && d < 3.6) return Opaque(accent);
            return Opaque(0xFFFFFF);
        }
        const bool border = fx == 0 || y == 0 || fx == 15 || y == 15;
        if (border) return Opaque(checked ? accent : (lighted ? 0x5B9BEF : 0x8C96A5));
        if (!checked) return Opaque(grayed ? 0xE4E7EC : 0xFFFFFF);
        // A tick: two strokes.
        const bool tick = (fx >= 3 && fx <= 6 && std::abs((y - 8) - (fx - 3)) <= 1) ||
                          (fx >= 6 && fx <= 12 && std::abs((y - 11) + (fx - 6)) <= 1);
        return tick ? Opaque(0xFFFFFF) : Opaque(accent);
    });
}

// The frame sides sit in the middle 40 x 40 (x 27..66, y 22..61); the shadow fades
// out around them: 27 pixels left and right, 22 above, 32 below.
std::string FrameAtlas() {
    return test::EncodePng(94, 94, true, [](int x, int y) -> uint32_t {
        if (x >= 27 && x < 67 && y >= 22 && y < 62) {
            if (x == 27 || x == 66 || y == 61) return Opaque(0x1A2438);
            return Opaque(kTitleBack);
        }
        const double dx = x < 27 ? 27 - x - 0.5 : (x >= 67 ? x - 66.5 : 0);
        const double dy = y < 22 ? (22 - y - 0.5) * 27.0 / 22.0 : (y >= 62 ? (y - 61.5) * 27.0 / 32.0 : 0);
        const double d = std::hypot(dx, dy) / 27.0;
        if (d >= 1) return 0;
        const double a = 0.42 * (1 - d) * (1 - d);
        return uint32_t(a * 255) << 24;
    });
}

struct Patch {
    int x, y, w, h;
    unsigned rgb;
};

// Flat patches at fixed places; the edit box face and the scroll thumb get a border.
const Patch kMisc[] = {
    {0, 0, 10, 10, kProgressBack}, {10, 0, 10, 10, kProgressFill},   {20, 0, 10, 30, 0xE6EAF0},
    {30, 0, 10, 30, kButtonNormal}, {40, 0, 10, 10, kListOdd},       {40, 10, 10, 10, kListEven},
    {40, 20, 10, 10, kListSelected}, {50, 0, 10, 32, 0x1E2A40},      {60, 0, 2, 32, kSplitter},
    {0, 30, 8, 20, 0xD5DBE4},       {30, 40, 10, 10, kClientBack},   {40, 40, 10, 10, 0xE9EDF3},
    {52, 40, 2, 24, 0xB8C2D0},      {0, 52, 10, 10, 0xFFFFFF},
};

std::string MiscAtlas() {
    return test::EncodePng(64, 64, true, [](int x, int y) -> uint32_t {
        // Scroll thumb at (8, 30, 8, 20): rounded.
        if (x >= 8 && x < 16 && y >= 30 && y < 50) return Face(x - 8, y - 30, 8, 20, 0x7F8DA3);
        // Edit box face at (16, 30, 10, 32): white with a grey border.
        if (x >= 16 && x < 26 && y >= 30 && y < 62) {
            const bool border = x == 16 || x == 25 || y == 30 || y == 61;
            return Opaque(border ? 0xA9B3C1 : 0xFFFFFF);
        }
        for (const Patch& p : kMisc)
            if (x >= p.x && x < p.x + p.w && y >= p.y && y < p.y + p.h) return Opaque(p.rgb);
        return 0;
    });
}

// Icons: square, disc, triangle, plus; rows normal, lighted, pressed, disabled.
std::string ToolStrip() {
    return test::EncodePng(96, 96, true, [](int x, int y) -> uint32_t {
        const int icon = x / 24, row = y / 24, ix = x % 24, iy = y % 24;
        const unsigned colors[4] = {0xE0533D, 0x2EB872, 0x3A7BD5, 0xF0A030};
        unsigned c = row == 3 ? 0xB4BAC4 : colors[icon];
        if (row == 1 || row == 2) {
            const bool back = ix >= 1 && ix <= 22 && iy >= 1 && iy <= 22;
            if (back) {
                bool inIcon = false;
                const double d = std::hypot(ix - 11.5, iy - 11.5);
                switch (icon) {
                    case 0: inIcon = ix >= 6 && ix < 18 && iy >= 6 && iy < 18; break;
                    case 1: inIcon = d < 6.5; break;
                    case 2: inIcon = iy >= 6 && iy < 18 && std::abs(ix - 11.5) < (iy - 5) * 0.55; break;
                    default: inIcon = (std::abs(ix - 11.5) < 2 && iy >= 5 && iy < 19) || (std::abs(iy - 11.5) < 2 && ix >= 5 && ix < 19);
                }
                if (inIcon) return Shade(c, row == 2 ? -40 : 0);
                return Opaque(row == 1 ? 0xD8E4F5 : 0xB9CCE8);
            }
        }
        const double d = std::hypot(ix - 11.5, iy - 11.5);
        switch (icon) {
            case 0: return ix >= 6 && ix < 18 && iy >= 6 && iy < 18 ? Opaque(c) : 0;
            case 1: return d < 6.5 ? Opaque(c) : 0;
            case 2: return iy >= 6 && iy < 18 && std::abs(ix - 11.5) < (iy - 5) * 0.55 ? Opaque(c) : 0;
            default:
                return (std::abs(ix - 11.5) < 2 && iy >= 5 && iy < 19) || (std::abs(iy - 11.5) < 2 && ix >= 5 && ix < 19)
                           ? Opaque(c)
                           : 0;
        }
    });
}

// System buttons: glyphs on a transparent face that lights up; close lights red.
std::string SysStrip() {
    return test::EncodePng(136, 117, true, [](int x, int y) -> uint32_t {
        const int button = x / 34, bx = x % 34;
        int row = -1;
        for (int i = 0; i < 4; ++i)
            if (y >= 1 + 29 * i && y < 29 + 29 * i) row = i;
        if (row < 0) return 0;
        const int by = y - (1 + 29 * row);
        const unsigned glyph = row == 3 ? 0x6B778A : 0xFFFFFF;
        const int gx = bx - 12, gy = by - 9;  // a 10 x 10 glyph box
        bool on = false;
        if (gx >= 0 && gx < 10 && gy >= 0 && gy < 10) {
            switch (button) {
                case 0: on = gx == gy || gx == 9 - gy; break;
                case 1: on = gx == 0 || gx == 9 || gy == 0 || gy == 1 || gy == 9; break;
                case 2: on = (gy >= 3 && (gx == 0 || gx == 6 || gy == 3 || gy == 9) && gx <= 6) ||
                             (gx >= 3 && gy <= 6 && (gy == 0 || gx == 9) ); break;
                default: on = gy == 8; break;
            }
        }
        if (on) return Opaque(glyph);
        if (row == 1) return button == 0 ? Opaque(0xE0533D) : 0x40FFFFFFu;
        if (row == 2) return button == 0 ? Opaque(0xB83A28) : 0x70FFFFFFu;
        return 0;
    });
}

const char* const kDescription = R"JSON({
 "cfg": {
  "Gallery": {
   "Client": {"bkgnd": {"bi": 103, "bg": [30, 40, 10, 10]}},
   "Frames": {
    "Top": {"normal": {"bi": 102, "bg": [27, 22, 40, 40]}, "grayed": {"bi": 102, "bg": [27, 22, 40, 40]}},
    "Left": {"normal": {"bi": 102, "bg": [27, 22, 1, 40]}, "grayed": {"bi": 102, "bg": [27, 22, 1, 40]}},
    "Right": {"normal": {"bi": 102, "bg": [66, 22, 1, 40]}, "grayed": {"bi": 102, "bg": [66, 22, 1, 40]}},
    "Bottom": {"normal": {"bi": 102, "bg": [27, 61, 40, 1]}, "grayed": {"bi": 102, "bg": [27, 61, 40, 1]}}
   },
   "SysBtns": {
    "Close": {"id": 61536, "size": [-40, 6, 34, 28],
     "normal": {"bi": 106, "bg": [0, 1, 34, 28]}, "lighted": {"bi": 106, "bg": [0, 30, 34, 28]},
     "pressed": {"bi": 106, "bg": [0, 59, 34, 28]}, "grayed": {"bi": 106, "bg": [0, 88, 34, 28]}},
    "Maximize": {"id": 61488, "size": [-74, 6, 34, 28],
     "normal": {"bi": 106, "bg": [34, 1, 34, 28]}, "lighted": {"bi": 106, "bg": [34, 30, 34, 28]},
     "pressed": {"bi": 106, "bg": [34, 59, 34, 28]}, "grayed": {"bi": 106, "bg": [34, 88, 34, 28]}},
    "Restore": {"id": 61728, "size": [-74, 6, 34, 28],
     "normal": {"bi": 106, "bg": [68, 1, 34, 28]}, "lighted": {"bi": 106, "bg": [68, 30, 34, 28]},
     "pressed": {"bi": 106, "bg": [68, 59, 34, 28]}, "grayed": {"bi": 106, "bg": [68, 88, 34, 28]}},
    "Minimize": {"id": 61472, "size": [-108, 6, 34, 28],
     "normal": {"bi": 106, "bg": [102, 1, 34, 28]}, "lighted": {"bi": 106, "bg": [102, 30, 34, 28]},
     "pressed": {"bi": 106, "bg": [102, 59, 34, 28]}, "grayed": {"bi": 106, "bg": [102, 88, 34, 28]}}
   },
   "Title": {"size": [14, 0, 300, 40], "text": {"ft": 201, "cr": 16777215, "al": 36}},
   "Button": {"id": 1001, "size": [20, 56, 110, 34],
    "normal": {"bi": 100, "bg": [0, 1, 60, 28], "mg": [4, 4, 4, 4]},
    "lighted": {"bi": 100, "bg": [0, 30, 60, 28], "mg": [4, 4, 4, 4]},
    "pressed": {"bi": 100, "bg": [0, 59, 60, 28], "mg": [4, 4, 4, 4]},
    "grayed": {"bi": 100, "bg": [0, 88, 60, 28], "mg": [4, 4, 4, 4]},
    "focused": {"bi": 100, "bg": [0, 1, 60, 28], "mg": [4, 4, 4, 4]},
    "Text": {"margin": [4, 4, 4, 4],
     "normal": {"ft": 200, "cr": 16777215, "al": 37}, "lighted": {"ft": 200, "cr": 16777215, "al": 37},
     "pressed": {"ft": 200, "cr": 16777215, "al": 37}, "grayed": {"ft": 200, "cr": 8355711, "al": 37},
     "focused": {"ft": 200, "cr": 16777215, "al": 37}}},
   "CheckBox": {"id": 1002, "size": [20, 134, 150, 22],
    "normal": {"fi": 101, "fg": [0, 0, 16, 16], "al": 8}, "lighted": {"fi": 101, "fg": [16, 0, 16, 16], "al": 8},
    "pressed": {"fi": 101, "fg": [32, 0, 16, 16], "al": 8}, "grayed": {"fi": 101, "fg": [48, 0, 16, 16], "al": 8},
    "focused": {"fi": 101, "fg": [0, 0, 16, 16], "al": 8},
    "Text": {"margin": [22, 0, 0, 0],
     "normal": {"ft": 200, "cr": 3355443, "al": 36}, "lighted": {"ft": 200, "cr": 3355443, "al": 36},
     "pressed": {"ft": 200, "cr": 3355443, "al": 36}, "grayed": {"ft": 200, "cr": 8355711, "al": 36},
     "focused": {"ft": 200, "cr": 3355443, "al": 36}}},
   "CheckBoxEx": {"id": 1003, "size": [20, 158, 150, 22],
    "Unchecked": {"normal": {"fi": 101, "fg": [0, 0, 16, 16], "al": 8}, "lighted": {"fi": 101, "fg": [16, 0, 16, 16], "al": 8},
     "pressed": {"fi": 101, "fg": [16, 0, 16, 16], "al": 8}, "grayed": {"fi": 101, "fg": [48, 0, 16, 16], "al": 8},
     "focused": {"fi": 101, "fg": [0, 0, 16, 16], "al": 8}},
    "Checked": {"normal": {"fi": 101, "fg": [32, 0, 16, 16], "al": 8}, "lighted": {"fi": 101, "fg": [64, 0, 16, 16], "al": 8},
     "pressed": {"fi": 101, "fg": [64, 0, 16, 16], "al": 8}, "grayed": {"fi": 101, "fg": [80, 0, 16, 16], "al": 8},
     "focused": {"fi": 101, "fg": [32, 0, 16, 16], "al": 8}},
    "Text": {"margin": [22, 0, 0, 0],
     "normal": {"ft": 200, "cr": 3355443, "al": 36}, "lighted": {"ft": 200, "cr": 3355443, "al": 36},
     "pressed": {"ft": 200, "cr": 3355443, "al": 36}, "grayed": {"ft": 200, "cr": 8355711, "al": 36},
     "focused": {"ft": 200, "cr": 3355443, "al": 36}}},
   "Radio": {"id": 1004, "size": [20, 182, 100, 22],
    "normal": {"fi": 101, "fg": [96, 0, 16, 16], "al": 8}, "lighted": {"fi": 101, "fg": [112, 0, 16, 16], "al": 8},
    "pressed": {"fi": 101, "fg": [128, 0, 16, 16], "al": 8}, "grayed": {"fi": 101, "fg": [144, 0, 16, 16], "al": 8},
    "focused": {"fi": 101, "fg": [96, 0, 16, 16], "al": 8},
    "Text": {"margin": [22, 0, 0, 0],
     "normal": {"ft": 200, "cr": 3355443, "al": 36}, "lighted": {"ft": 200, "cr": 3355443, "al": 36},
     "pressed": {"ft": 200, "cr": 3355443, "al": 36}, "grayed": {"ft": 200, "cr": 8355711, "al": 36},
     "focused": {"ft": 200, "cr": 3355443, "al": 36}}},
   "DropButton": {"id": 1005, "size": [20, 96, 230, 30],
    "normal": {"bi": 100, "bg": [0, 1, 60, 28], "mg": [4, 4, 4, 4]},
    "lighted": {"bi": 100, "bg": [0, 30, 60, 28], "mg": [4, 4, 4, 4]},
    "pressed": {"bi": 100, "bg": [0, 59, 60, 28], "mg": [4, 4, 4, 4]},
    "grayed": {"bi": 100, "bg": [0, 88, 60, 28], "mg": [4, 4, 4, 4]},
    "focused": {"bi": 100, "bg": [0, 1, 60, 28], "mg": [4, 4, 4, 4]},
    "Text": {"margin": [12, 4, 4, 4],
     "normal": {"ft": 200, "cr": 16777215, "al": 37}, "lighted": {"ft": 200, "cr": 16777215, "al": 37},
     "pressed": {"ft": 200, "cr": 16777215, "al": 37}, "grayed": {"ft": 200, "cr": 8355711, "al": 37},
     "focused": {"ft": 200, "cr": 16777215, "al": 37}}},
   "Progress": {"id": 1006, "size": [20, 214, 190, 8],
    "bkgnd": {"bi": 103, "bg": [0, 0, 10, 10]}, "frgnd": {"bi": 103, "bg": [10, 0, 10, 10]}},
   "Pane": {"id": 1007, "size": [280, 50, 230, 160], "bkgnd": {"bi": 103, "bg": [40, 40, 10, 10]}},
   "Label": {"size": [0, 0, 0, 0], "text": {"ft": 200, "cr": 3355443, "al": 36}},
   "Tabs": {"id": 1008, "size": [20, 232, 490, 30],
    "bkgnd": {"bi": 103, "bg": [20, 0, 10, 30]},
    "Item": {"normal": {"bi": 103, "bg": [20, 0, 10, 30]}, "pressed": {"bi": 103, "bg": [30, 0, 10, 30]}},
    "Text": {"normal": {"ft": 200, "cr": 3355443, "al": 37}, "pressed": {"ft": 200, "cr": 16777215, "al": 37}}},
   "ToolBar": {"id": 1009, "size": [280, 56, 230, 36],
    "bkgnd": {"bi": 103, "bg": [40, 40, 10, 10]}, "seperator": {"bi": 103, "bg": [52, 40, 2, 24]}},
   "List": {"id": 1010, "size": [20, 270, 300, 146],
    "Header": {"height": 28, "text": {"ft": 200, "cr": 16777215, "al": 37},
     "bkgnd": {"bi": 103, "bg": [50, 0, 10, 32]}, "splitter": {"bi": 103, "bg": [60, 0, 2, 32]}},
    "ScrollBar": {"thumb": {"bi": 103, "bg": [8, 30, 8, 20], "mg": [0, 4, 0, 4]},
     "trackbar": {"bi": 103, "bg": [0, 30, 8, 20]}},
    "Item": {"odd": {"bi": 103, "bg": [40, 0, 10, 10]}, "even": {"bi": 103, "bg": [40, 10, 10, 10]},
     "selected": {"bi": 103, "bg": [40, 20, 10, 10]}, "height": 24}},
   "Edit": {"id": 1011, "size": [340, 270, 170, 32],
    "bkgnd": {"bi": 103, "bg": [16, 30, 10, 32], "mg": [4, 4, 4, 4]},
    "Text": {"margin": [8, 5, 8, 5], "normal": {"ft": 200, "cr": 0, "al": 36}, "grayed": {"ft": 200, "cr": 10066329, "al": 36}}},
   "EditCtrl": {"id": 1012, "size": [340, 308, 170, 32],
    "bkgnd": {"bi": 103, "bg": [16, 30, 10, 32], "mg": [4, 4, 4, 4]},
    "Text": {"margin": [6, 5, 6, 5], "normal": {"ft": 200, "cr": 0, "al": 36}, "grayed": {"ft": 200, "cr": 10066329, "al": 36}}},
   "TextBox": {"id": 1013, "size": [340, 346, 170, 70],
    "bkgnd": {"bi": 103, "bg": [16, 30, 10, 32], "mg": [4, 4, 4, 4]},
    "Text": {"margin": [6, 4, 6, 4], "normal": {"ft": 200, "cr": 3355443, "al": 0}, "grayed": {"ft": 200, "cr": 10066329, "al": 0}},
    "ScrollBar": {"thumb": {"bi": 103, "bg": [8, 30, 8, 20], "mg": [0, 4, 0, 4]},
     "trackbar": {"bi": 103, "bg": [0, 30, 8, 20]}}}
  },
  "Meta": {
   "shadeleft": {"bi": 102, "bg": [0, 22, 27, 40], "mg": [0, 19, 0, 19]},
   "shaderight": {"bi": 102, "bg": [67, 22, 27, 40], "mg": [0, 19, 0, 19]},
   "shadetop": {"bi": 102, "bg": [0, 0, 94, 22], "mg": [46, 0, 46, 0]},
   "shadebottom": {"bi": 102, "bg": [0, 62, 94, 32], "mg": [46, 0, 46, 0]}
  }
 },
 "res": {
  "images": [{"id": 100, "name": "button.png"}, {"id": 101, "name": "check.png"}, {"id": 102, "name": "frame.png"},
             {"id": 103, "name": "misc.png"}, {"id": 105, "name": "tools.png"}, {"id": 106, "name": "sys.png"}],
  "fonts": [{"id": 200, "name": "text"}, {"id": 201, "name": "title"}]
 }
})JSON";

}  // namespace

std::string BuildSamplePackage() {
    SkinPackage p;
    p.description = kDescription;
    p.description.push_back('\n');
    p.description.push_back('\0');
    p.records = {
        {kButtonStrip, ButtonStrip()},
        {kCheckStrip, CheckStrip()},
        {kFrameAtlas, FrameAtlas()},
        {kMiscAtlas, MiscAtlas()},
        {kToolStrip, ToolStrip()},
        {kSysStrip, SysStrip()},
        {200, R"({"Height":-14,"CharSet":134,"Quality":5})"},
        {201, R"({"Height":-16,"Weight":700,"CharSet":134,"Quality":5})"},
    };
    return WriteSkinPackage(p);
}

}  // namespace kestro::sample
