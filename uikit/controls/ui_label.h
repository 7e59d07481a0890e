#pragma once
// A text in its rectangle. Its text may be set from a worker thread while the
// interface thread paints.
#include <windows.h>

#include <atomic>
#include <string>

#include "services/win/unique_handle.h"
#include "uikit/object/ui_object.h"
#include "uikit/skin/painters.h"

namespace kestro {

// Default alignment of a label: centred, vertically centred, single line.
constexpr uint32_t kLabelDefaultAlign = 37;

class UILabel : public UIObject {
public:
    UILabel();
    ~UILabel() override;

    bool Load(UIResource* resource, const char* path, const JValue* base) override;
    void Paint(HDC dc, const RECT& rect, const RECT& clip) override;

    // Any thread.
    void SetText(const wchar_t* text);
    std::wstring GetText();
    TextStyle& GetTextStyle() { return style_; }

private:
    CriticalSection lock_;
    // SetText calls in progress (their lock and their invalidation).
    std::atomic<int> busy_{0};
    std::wstring text_;
    TextStyle style_;
};

}  // namespace kestro
