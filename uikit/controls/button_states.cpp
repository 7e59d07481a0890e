#include "uikit/controls/button_states.h"

namespace kestro {

int ButtonStyleIndex(int visual, bool enabled) {
    if (!enabled) return kStyleGrayed;
    if (visual == kVisualLighted) return kStyleLighted;
    if (visual == kVisualPressed) return kStylePressed;
    return kStyleNormal;
}

int CheckBoxStyleIndex(int visual, bool checked, bool enabled) {
    if (!enabled) return kStyleGrayed;
    if (visual == kVisualLighted) return kStyleLighted;
    if (visual == kVisualPressed || checked) return kStylePressed;
    return kStyleNormal;
}

bool CheckBoxEnter(CheckBoxState& s, bool enabled, bool visible) {
    if (!enabled || !visible || s.visual == kVisualLighted) return false;
    s.visual = s.checked ? kVisualPressed : kVisualLighted;
    return true;
}

bool CheckBoxPress(CheckBoxState& s) {
    s.visual = kVisualPressed;
    s.armed = true;
    return true;
}

bool CheckBoxLeave(CheckBoxState& s, bool enabled, bool visible) {
    if (!enabled || !visible || s.visual == kVisualNormal) return false;
    s.visual = kVisualNormal;
    return true;
}

bool CheckBoxRelease(CheckBoxState& s, bool enabled, bool visible) {
    const bool armed = s.armed;
    s.armed = false;
    if (!enabled || !visible || s.visual == kVisualLighted || !armed) return false;
    s.visual = kVisualLighted;
    s.checked = !s.checked;
    if (s.checked) s.visual = kVisualPressed;
    return true;
}

bool RadioBoxRelease(CheckBoxState& s, bool enabled, bool visible) {
    const bool armed = s.armed;
    s.armed = false;
    if (!enabled || !visible || !armed || s.checked) return false;
    s.checked = true;
    s.visual = kVisualPressed;
    return true;
}

}  // namespace kestro
