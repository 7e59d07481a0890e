#pragma once
// The toolkit's scroll bar: a skinned track and thumb placed by its owner. It reports
// line, page and thumb-track requests to its parent; the owner moves the position.
#include "uikit/lists/scrollbar_geometry.h"
#include "uikit/object/ui_object.h"
#include "uikit/skin/painters.h"

namespace kestro {

class UIScrollBar : public UIObject {
public:
    bool Load(UIResource* resource, const char* path, const JValue* base) override;
    void Layout() override;
    void Paint(HDC dc, const RECT& rect, const RECT& clip) override;
    LRESULT MouseDown(WPARAM wParam, POINT point) override;

    void SetRange(int minimum, int maximum, int page);
    // Moves the thumb; the owner lays the bar out again afterwards (done here).
    void SetPosition(int position);
    const ScrollRange& GetRange() const { return range_; }
    int GetTrackPosition() const { return trackPosition_; }
    void SetMinThumbLength(int length) { minThumb_ = length; }
    void SetHorizontal(bool horizontal) { horizontal_ = horizontal; }
    const ScrollBarParts& GetParts() const { return parts_; }
    // Width of the track image's source: how wide owners make the bar.
    int TrackImageWidth() const { return trackbar_.w; }
    // Both styles, for owners that build a bar without a skin node.
    void SetStyles(const ImageStyle& thumb, const ImageStyle& trackbar) { thumb_ = thumb, trackbar_ = trackbar; }

private:
    void Notify(int code);
    void RunThumbDrag(POINT start);
    void ComputeParts();

    ScrollRange range_;
    int trackPosition_ = 0;
    int lastReported_ = -1;
    int minThumb_ = kDefaultMinThumbLength;
    bool horizontal_ = false;
    ScrollBarParts parts_;
    ImageStyle thumb_;
    ImageStyle trackbar_;
};

}  // namespace kestro
