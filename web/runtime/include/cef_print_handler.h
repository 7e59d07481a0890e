#ifndef CEF_INCLUDE_CEF_PRINT_HANDLER_H_
#define CEF_INCLUDE_CEF_PRINT_HANDLER_H_

#include "include/cef_base.h"

// Printing on platforms without a system print dialog.
class CefPrintHandler : public virtual CefBase {
public:
    virtual void OnPrintReset() {}
};

#endif  // CEF_INCLUDE_CEF_PRINT_HANDLER_H_
