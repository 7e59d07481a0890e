#ifndef CEF_INCLUDE_CEF_RESOURCE_BUNDLE_HANDLER_H_
#define CEF_INCLUDE_CEF_RESOURCE_BUNDLE_HANDLER_H_

#include "include/cef_base.h"

// Supplies localized strings and data resources instead of the runtime's packs.
class CefResourceBundleHandler : public virtual CefBase {
public:
    virtual bool GetLocalizedString(int message_id, CefString& string) = 0;
};

#endif  // CEF_INCLUDE_CEF_RESOURCE_BUNDLE_HANDLER_H_
