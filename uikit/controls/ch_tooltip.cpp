#include "uikit/controls/ch_tooltip.h"

#include <commctrl.h>

namespace kestro {

bool CHTooltip::CreateFor(HWND owner) {
    HWND window = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window) return false;
    if (!Attach(window)) {
        DestroyWindow(window);
        return false;
    }
    return true;
}

}  // namespace kestro
