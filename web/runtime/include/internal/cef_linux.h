#ifndef CEF_INCLUDE_INTERNAL_CEF_LINUX_H_
#define CEF_INCLUDE_INTERNAL_CEF_LINUX_H_

struct cef_main_args_t {
    int argc;
    char** argv;
};

class CefMainArgs : public cef_main_args_t {
public:
    CefMainArgs() {
        argc = 0;
        argv = nullptr;
    }
    CefMainArgs(int argc_arg, char** argv_arg) {
        argc = argc_arg;
        argv = argv_arg;
    }
};

#endif  // CEF_INCLUDE_INTERNAL_CEF_LINUX_H_
