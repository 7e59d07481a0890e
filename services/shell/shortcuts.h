#pragma once
// Shortcut files (.lnk) on the desktops and in Quick Launch, and the silent file
// deletion they are removed with. Every result is success (true) or failure; nothing is shown.
namespace kestro {

// A link to `target` (which must exist) saved as `linkFile`; its working folder
// is the target itself for a folder, else the target's folder.
bool CreateShortcut(const wchar_t* target, const wchar_t* linkFile);

// "<all-users desktop>\<name>.lnk".
bool CreateDesktopShortcut(const wchar_t* name, const wchar_t* target);

// "<Quick Launch>\<name>.lnk"; the Quick Launch folder is created when the system lacks it.
bool CreateQuickLaunchShortcut(const wchar_t* name, const wchar_t* target);

// Removes the link from the user's desktop, then from the all-users desktop;
// the result is that of the all-users deletion.
bool DeleteDesktopShortcuts(const wchar_t* name);

bool DeleteQuickLaunchShortcut(const wchar_t* name);

// A shell "delete" of one existing path: no confirmation, no progress, no error
// window, no recycle bin. Fails when the path does not exist.
bool DeleteFileSilently(const wchar_t* path);

}  // namespace kestro
