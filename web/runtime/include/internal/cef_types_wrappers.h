#ifndef CEF_INCLUDE_INTERNAL_CEF_TYPES_WRAPPERS_H_
#define CEF_INCLUDE_INTERNAL_CEF_TYPES_WRAPPERS_H_

#if defined(_WIN32)
#include "include/internal/cef_win.h"
#else
#include "include/internal/cef_linux.h"
#endif

#endif  // CEF_INCLUDE_INTERNAL_CEF_TYPES_WRAPPERS_H_
