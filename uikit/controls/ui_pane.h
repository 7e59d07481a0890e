#pragma once
// A skinned background area.
#include "uikit/object/ui_object.h"
#include "uikit/skin/painters.h"

namespace kestro {

class UIPane : public UIObject {
public:
    UIPane();
    bool Load(UIResource* resource, const char* path, const JValue* base) override;
    void Paint(HDC dc, const RECT& rect, const RECT& clip) override;
    void SetBackground(const ImageStyle& style) { bkgnd_ = style; }

private:
    ImageStyle bkgnd_;
};

}  // namespace kestro
