#ifndef CEF_INCLUDE_INTERNAL_CEF_WIN_H_
#define CEF_INCLUDE_INTERNAL_CEF_WIN_H_

// The instance handle type is named without windows.h, so the runtime's headers
// stay usable in code that must not include it (STRICT handle typing, the MinGW default).
struct HINSTANCE__;

struct cef_main_args_t {
    HINSTANCE__* instance;
};

class CefMainArgs : public cef_main_args_t {
public:
    CefMainArgs() { instance = nullptr; }
    explicit CefMainArgs(HINSTANCE__* hInstance) { instance = hInstance; }
};

#endif  // CEF_INCLUDE_INTERNAL_CEF_WIN_H_
