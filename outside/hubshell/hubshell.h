#pragma once
// Hubshell: the game-centre main window, loaded by the launcher at run time.
// The window also serves the hand-over pipe through which a second start of
// the launcher passes its command line.
#include <windows.h>

inline constexpr wchar_t kHubshellWindowClass[] = L"CHWindow";
inline constexpr wchar_t kHandOverPipeName[] = L"\\\\.\\pipe\\GameCenter";
inline constexpr char kCreateHubshellExport[] = "CreateHubshell";

// The main window; deleting it closes the window and stops serving the pipe.
class IHubshell {
public:
    virtual ~IHubshell() = default;
    virtual HWND GetWindow() const = 0;
};

// Creates the main window on the calling thread; null when the window cannot
// be made or another process already serves the hand-over pipe.
using CreateHubshellFunction = IHubshell* (*)(int layoutId, int buildNumber, const wchar_t* version);

#ifdef HUBSHELL_BUILD
extern "C" __declspec(dllexport) IHubshell* CreateHubshell(int layoutId, int buildNumber, const wchar_t* version);
#endif
