#ifndef CEF_INCLUDE_CEF_VERSION_H_
#define CEF_INCLUDE_CEF_VERSION_H_

// Hash of the runtime headers this build is compiled against; CefExecuteProcess
// refuses to run when the loaded runtime reports another.
#define CEF_API_HASH_PLATFORM "1051c471f09e2ad841a331540a5ccd583e4b4704"

#ifdef __cplusplus
extern "C" {
#endif

// Hash of the loaded runtime's API: entry 0 the platform hash, 1 the universal one.
const char* cef_api_hash(int entry);

#ifdef __cplusplus
}
#endif

#endif  // CEF_INCLUDE_CEF_VERSION_H_
