#include "uikit/controls/ui_pane.h"

#include "uikit/controls/skin_reading.h"
#include "uikit/skin/ui_resource.h"

namespace kestro {

UIPane::UIPane() { kind_ = kKindPane; }

bool UIPane::Load(UIResource* resource, const char* path, const JValue* base) {
    std::optional<JValue> node;
    if (!LoadIdAndSize(resource, path, base, *this, node)) return false;
    bkgnd_ = resource->GetImageStyle("bkgnd", &*node);
    return true;
}

void UIPane::Paint(HDC dc, const RECT& rect, const RECT& clip) { PaintImageStyle(rect_, bkgnd_, dc); }

}  // namespace kestro
