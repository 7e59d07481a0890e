#pragma once
// The system tool tip window a control keeps for its own items.
#include <windows.h>

#include "uikit/window/ch_window.h"

namespace kestro {

class CHTooltip : public CHWindow {
public:
    // Creates a tool tip window owned by `owner` and binds it; false when refused.
    bool CreateFor(HWND owner);
};

}  // namespace kestro
