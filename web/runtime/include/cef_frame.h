#ifndef CEF_INCLUDE_CEF_FRAME_H_
#define CEF_INCLUDE_CEF_FRAME_H_

#include "include/cef_base.h"

class CefBrowser;
class CefV8Context;

// One frame of a page: the main frame or a sub-frame.
class CefFrame : public virtual CefBase {
public:
    virtual bool IsValid() = 0;
    virtual bool IsMain() = 0;
    virtual bool IsFocused() = 0;
    virtual CefString GetName() = 0;
    virtual int64 GetIdentifier() = 0;
    virtual CefRefPtr<CefFrame> GetParent() = 0;
    virtual CefString GetURL() = 0;
    virtual CefRefPtr<CefBrowser> GetBrowser() = 0;
    // The frame's current script context; only valid in a renderer.
    virtual CefRefPtr<CefV8Context> GetV8Context() = 0;
};

#endif  // CEF_INCLUDE_CEF_FRAME_H_
