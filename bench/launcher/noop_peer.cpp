// The peer of the launcher benchmark: a Windows program that does nothing, so
// its start-to-exit time is what Wine itself costs per process.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) { return 0; }
