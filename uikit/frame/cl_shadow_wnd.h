#pragma once
// Drop shadows: one layered tool window per side, kept around the owner window.
#include <windows.h>

#include <memory>

#include "uikit/frame/frame_geometry.h"
#include "uikit/object/ui_object.h"
#include "uikit/skin/painters.h"

namespace kestro {

class CLShadwWnd : public UIObject {
public:
    // side: 1 left, 2 top, 3 right, 4 bottom.
    explicit CLShadwWnd(int side) : side_(side) {}
    ~CLShadwWnd() override;

    void Paint(HDC dc, const RECT& rect, const RECT& clip) override;
    // Reads the side's image from the skin's "Meta" node; always true.
    bool LoadSide(UIResource* resource, const char* path, const JValue* base);

    int GetSide() const { return side_; }
    const ImageStyle& GetStyle() const { return style_; }

private:
    const int side_;
    ImageStyle style_;
};

// Creates the shadow's window, owned by `owner`, and loads it from the current skin.
bool CreateShadow(HWND owner, CLShadwWnd* shadow);
// Moves the shadow to a screen rectangle and shows it.
void PlaceShadow(CLShadwWnd* shadow, int left, int top, int right, int bottom);

// The four shadows an owner window keeps around itself.
class DropShadows {
public:
    // Creates the four windows; false when any is refused.
    bool Create(HWND owner);
    // Follows the owner's coming position (its WM_WINDOWPOSCHANGING record).
    void Follow(HWND owner, const WINDOWPOS& pos);
    // Places the shadows around the owner's current rectangle.
    void PlaceAround(int x, int y, int cx, int cy);
    void Destroy();
    std::shared_ptr<CLShadwWnd> Get(int side) const;

private:
    std::shared_ptr<CLShadwWnd> shadows_[4];
};

}  // namespace kestro
