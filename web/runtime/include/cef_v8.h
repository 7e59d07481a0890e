#ifndef CEF_INCLUDE_CEF_V8_H_
#define CEF_INCLUDE_CEF_V8_H_

#include <vector>

#include "include/cef_base.h"
#include "include/cef_browser.h"
#include "include/cef_frame.h"

class CefV8Value;

// A script context: one per frame and navigation, in a renderer process.
class CefV8Context : public virtual CefBase {
public:
    // The context whose script is running now, or none.
    static CefRefPtr<CefV8Context> GetCurrentContext();
    // The context entered first on the current call stack, or none.
    static CefRefPtr<CefV8Context> GetEnteredContext();
    static bool InContext();

    virtual bool IsValid() = 0;
    virtual CefRefPtr<CefBrowser> GetBrowser() = 0;
    virtual CefRefPtr<CefFrame> GetFrame() = 0;
    virtual CefRefPtr<CefV8Value> GetGlobal() = 0;
    // Makes this the current context until the matching Exit.
    virtual bool Enter() = 0;
    virtual bool Exit() = 0;
    virtual bool IsSame(CefRefPtr<CefV8Context> that) = 0;
};

typedef std::vector<CefRefPtr<CefV8Value> > CefV8ValueList;

// Native code behind script functions created with CefV8Value::CreateFunction.
class CefV8Handler : public virtual CefBase {
public:
    // Called for each script call of a function bound to this handler. Return true
    // when handled: |retval| then becomes the call's result, or a non-empty
    // |exception| is thrown in the script.
    virtual bool Execute(const CefString& name, CefRefPtr<CefV8Value> object, const CefV8ValueList& arguments,
                         CefRefPtr<CefV8Value>& retval, CefString& exception) = 0;
};

// Native getter and setter for the accessor properties of an object created
// with CefV8Value::CreateObject.
class CefV8Accessor : public virtual CefBase {
public:
    virtual bool Get(const CefString& name, const CefRefPtr<CefV8Value> object, CefRefPtr<CefV8Value>& retval,
                     CefString& exception) = 0;
    virtual bool Set(const CefString& name, const CefRefPtr<CefV8Value> object, const CefRefPtr<CefV8Value> value,
                     CefString& exception) = 0;
};

// A script value. Objects, arrays and functions belong to the context they were
// created in; the Create functions that make them need a current context.
class CefV8Value : public virtual CefBase {
public:
    typedef cef_v8_accesscontrol_t AccessControl;
    typedef cef_v8_propertyattribute_t PropertyAttribute;

    static CefRefPtr<CefV8Value> CreateUndefined();
    static CefRefPtr<CefV8Value> CreateNull();
    static CefRefPtr<CefV8Value> CreateBool(bool value);
    static CefRefPtr<CefV8Value> CreateInt(int32_t value);
    static CefRefPtr<CefV8Value> CreateUInt(uint32_t value);
    static CefRefPtr<CefV8Value> CreateDouble(double value);
    static CefRefPtr<CefV8Value> CreateString(const CefString& value);
    static CefRefPtr<CefV8Value> CreateObject(CefRefPtr<CefV8Accessor> accessor);
    static CefRefPtr<CefV8Value> CreateArray(int length);
    static CefRefPtr<CefV8Value> CreateFunction(const CefString& name, CefRefPtr<CefV8Handler> handler);

    virtual bool IsValid() = 0;
    virtual bool IsUndefined() = 0;
    virtual bool IsNull() = 0;
    virtual bool IsBool() = 0;
    // Numbers come in three kinds: int, uint and double. A script number is an
    // int when it is a whole value in the signed 32-bit range, else a uint when
    // in the unsigned range, else a double (negative zero and NaN included);
    // CreateInt, CreateUInt and CreateDouble make their own kind.
    // Both integer kinds share one 32-bit store: IsInt and IsUInt are each true
    // for either kind, so neither tells them apart.
    virtual bool IsInt() = 0;
    virtual bool IsUInt() = 0;
    // Any number, integers included.
    virtual bool IsDouble() = 0;
    virtual bool IsDate() = 0;
    virtual bool IsString() = 0;
    // Any object: arrays and functions included.
    virtual bool IsObject() = 0;
    virtual bool IsArray() = 0;
    virtual bool IsFunction() = 0;
    virtual bool IsSame(CefRefPtr<CefV8Value> that) = 0;

    virtual bool GetBoolValue() = 0;
    // The integer store read as signed or as unsigned (the int -1 reads as the
    // uint 0xFFFFFFFF, the uint 2^31 as the int -2^31); 0 for a double.
    virtual int32_t GetIntValue() = 0;
    virtual uint32_t GetUIntValue() = 0;
    // The number's value, whichever kind holds it; 0 for anything else.
    virtual double GetDoubleValue() = 0;
    virtual CefString GetStringValue() = 0;

    virtual bool HasValue(const CefString& key) = 0;
    virtual bool HasValue(int index) = 0;
    virtual bool DeleteValue(const CefString& key) = 0;
    virtual bool DeleteValue(int index) = 0;
    // The property's value, or none when reading it failed (a getter threw, or
    // this is not an object).
    virtual CefRefPtr<CefV8Value> GetValue(const CefString& key) = 0;
    virtual CefRefPtr<CefV8Value> GetValue(int index) = 0;
    virtual bool SetValue(const CefString& key, CefRefPtr<CefV8Value> value, PropertyAttribute attribute) = 0;
    virtual bool SetValue(int index, CefRefPtr<CefV8Value> value) = 0;
    // Declares an accessor property served by the object's CefV8Accessor.
    virtual bool SetValue(const CefString& key, AccessControl settings, PropertyAttribute attribute) = 0;
    virtual bool GetKeys(std::vector<CefString>& keys) = 0;

    virtual int GetArrayLength() = 0;
    virtual CefString GetFunctionName() = 0;
    virtual CefRefPtr<CefV8Handler> GetFunctionHandler() = 0;
};

#endif  // CEF_INCLUDE_CEF_V8_H_
