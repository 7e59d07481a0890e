#pragma once
// A complete skin for every control of the toolkit, drawn in code: the art of the
// control tests and of the gallery. Node names are under "Gallery" and "Meta".
#include <string>

namespace kestro::sample {

// Image ids of the package.
enum SampleImage {
    kButtonStrip = 100,  // 60 x 117: normal, lighted, pressed, grayed at y 1, 30, 59, 88
    kCheckStrip = 101,   // 16 x 16 faces side by side
    kFrameAtlas = 102,   // 94 x 94: frame sides in the middle, shadows around
    kMiscAtlas = 103,    // progress, tabs, list, header, scroll bar, edit box, panes
    kToolStrip = 105,    // 4 icons x 4 state rows of 24 x 24
    kSysStrip = 106,     // close, maximise, restore, minimise: 34 wide, rows as the buttons
};

// Colours the tests look for (0x00RRGGBB, opaque in the images).
constexpr unsigned kButtonNormal = 0x3A7BD5;
constexpr unsigned kButtonLighted = 0x5B9BEF;
constexpr unsigned kButtonPressed = 0x1F4E96;
constexpr unsigned kButtonGrayed = 0xB4BAC4;
constexpr unsigned kProgressBack = 0xDDE3EC;
constexpr unsigned kProgressFill = 0x2EB872;
constexpr unsigned kSplitter = 0xF0A030;
constexpr unsigned kListEven = 0x36475F;
constexpr unsigned kListOdd = 0x2F3E56;
constexpr unsigned kListSelected = 0x3A7BD5;
constexpr unsigned kClientBack = 0xF4F6FA;
constexpr unsigned kTitleBack = 0x26344D;

// The whole ".uir" package.
std::string BuildSamplePackage();

}  // namespace kestro::sample
