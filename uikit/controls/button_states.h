#pragma once

namespace kestro {

// Visual states of the button family.
enum ButtonVisual { kVisualNormal = 0, kVisualLighted = 2, kVisualPressed = 3 };

// Indices of the five state styles every button-like control loads.
enum StateStyle { kStyleNormal = 0, kStyleGrayed = 1, kStyleLighted = 2, kStylePressed = 3, kStyleFocused = 4 };
constexpr int kStateStyleCount = 5;

// The style a push or drop button paints: grayed whenever disabled.
int ButtonStyleIndex(int visual, bool enabled);

// The style a check or radio box paints: a checked box shows its pressed style.
int CheckBoxStyleIndex(int visual, bool checked, bool enabled);

// State of a check or radio box between input events.
struct CheckBoxState {
    int visual = kVisualNormal;
    bool checked = false;
    bool armed = false;  // the left button went down over this box
};

// Each returns true when the box must repaint.
bool CheckBoxEnter(CheckBoxState& s, bool enabled, bool visible);
bool CheckBoxPress(CheckBoxState& s);
bool CheckBoxLeave(CheckBoxState& s, bool enabled, bool visible);

// Release over the box: true when the checked state flipped (the box then notifies).
// Only a press that began over the box counts.
bool CheckBoxRelease(CheckBoxState& s, bool enabled, bool visible);

// Release over a radio box: true when it became the checked one of its group.
bool RadioBoxRelease(CheckBoxState& s, bool enabled, bool visible);

}  // namespace kestro
