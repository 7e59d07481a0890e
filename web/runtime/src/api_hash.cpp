#include "include/cef_version.h"

// The hash this runtime reports. A test build defines another one to play a
// runtime the program was not built against.
#ifndef KESTRO_STANDIN_REPORTED_HASH
#define KESTRO_STANDIN_REPORTED_HASH CEF_API_HASH_PLATFORM
#endif

const char* cef_api_hash(int entry) { return entry == 0 ? KESTRO_STANDIN_REPORTED_HASH : ""; }
