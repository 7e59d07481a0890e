#pragma once
// A progress bar: a background and a foreground filled in proportion to the position.
#include "uikit/object/ui_object.h"
#include "uikit/skin/painters.h"

namespace kestro {

class UIProgress : public UIObject {
public:
    UIProgress();
    bool Load(UIResource* resource, const char* path, const JValue* base) override;
    void Paint(HDC dc, const RECT& rect, const RECT& clip) override;

    void SetProgressPos(int position);
    // The range 0 to 100.
    void SetRangeDefault();
    void SetRange(int minimum, int maximum);
    int GetProgressPos() const { return position_; }
    // Width of the filled part for the current rectangle.
    int FillWidth() const;

private:
    ImageStyle bkgnd_;
    ImageStyle frgnd_;
    int position_ = 0;
    int minimum_ = 0;
    int maximum_ = 0;
};

}  // namespace kestro
