#ifndef CEF_INCLUDE_CEF_COMMAND_LINE_H_
#define CEF_INCLUDE_CEF_COMMAND_LINE_H_

#include <vector>

#include "include/cef_base.h"

// A process command line: switches ("--name=value") and the remaining arguments.
class CefCommandLine : public virtual CefBase {
public:
    typedef std::vector<CefString> ArgumentList;

    static CefRefPtr<CefCommandLine> CreateCommandLine();

    virtual bool IsValid() = 0;
    virtual bool IsReadOnly() = 0;
    virtual void InitFromArgv(int argc, const char* const* argv) = 0;
    virtual void InitFromString(const CefString& command_line) = 0;
    virtual bool HasSwitches() = 0;
    virtual bool HasSwitch(const CefString& name) = 0;
    virtual CefString GetSwitchValue(const CefString& name) = 0;
    virtual void GetArguments(ArgumentList& arguments) = 0;
    virtual void AppendSwitch(const CefString& name) = 0;
    virtual void AppendSwitchWithValue(const CefString& name, const CefString& value) = 0;
};

#endif  // CEF_INCLUDE_CEF_COMMAND_LINE_H_
