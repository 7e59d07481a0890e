#ifndef CEF_INCLUDE_CEF_BROWSER_H_
#define CEF_INCLUDE_CEF_BROWSER_H_

#include "include/cef_base.h"
#include "include/cef_frame.h"
#include "include/cef_process_message.h"

// A browser window as a renderer sees it.
class CefBrowser : public virtual CefBase {
public:
    virtual int GetIdentifier() = 0;
    virtual bool IsSame(CefRefPtr<CefBrowser> that) = 0;
    virtual bool IsPopup() = 0;
    virtual CefRefPtr<CefFrame> GetMainFrame() = 0;
    virtual size_t GetFrameCount() = 0;
    // Sends |message| to |target_process|; true when it was sent. The message is
    // read-only afterwards.
    virtual bool SendProcessMessage(CefProcessId target_process, CefRefPtr<CefProcessMessage> message) = 0;
};

#endif  // CEF_INCLUDE_CEF_BROWSER_H_
