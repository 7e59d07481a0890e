#pragma once
// The two JSON records a package can carry: the installer's configuration record and
// the uninstall record appended to unins000.exe. Key names and defaults live here only.
#include <string>
#include <vector>

#include "services/json/jvalue.h"

namespace kestro {

struct PackageConfig {
    static constexpr const char* kMode = "mode";
    static constexpr const char* kChannel = "channel";
    static constexpr const char* kTheme = "theme";
    static constexpr const char* kQuiet = "quiet";
    static constexpr const char* kLastRun = "lastrun";
    static constexpr const char* kShortcut = "shortcut";
    static constexpr const char* kDesktop = "desktop";
    static constexpr const char* kTaskbar = "taskbar";
    static constexpr const char* kShortcutFile = "file";
    static constexpr const char* kShortcutName = "name";
    static constexpr const char* kInstOptions = "instoptions";
    static constexpr const char* kInstRun = "instrun";
    static constexpr const char* kUninstRun = "uninstrun";

    // The channel of a record without "channel", and of a worker host before start-up
    // or a test sets one. (The other defaults are start-up's: setup/startup/startup_record.h.)
    static constexpr int kDefaultChannel = 30001;

    JValue record;

    // A record without "mode" is not a package record at all.
    bool HasMode() const { return record.HasMember(kMode); }
    bool IsUninstaller() const { return record[kMode].AsInt() == 0; }
};

struct UninstallRecord {
    static constexpr const char* kChannel = "channel";
    static constexpr const char* kFiles = "files";
    static constexpr const char* kFolders = "folders";
    static constexpr const char* kMode = "mode";
    static constexpr const char* kSetup = "setup";
    static constexpr const char* kRoot = "root";
    static constexpr const char* kShortcut = "shortcut";
    static constexpr const char* kUninstRun = "uninstrun";

    JValue record;

    // The Base64-stored UTF-8 paths, decoded.
    std::vector<std::string> Files() const { return DecodePaths(record[kFiles]); }
    std::vector<std::string> Folders() const { return DecodePaths(record[kFolders]); }
    std::string Root() const;

    static std::vector<std::string> DecodePaths(const JValue& array);
    static std::string EncodePath(const std::string& utf8Path);
};

}  // namespace kestro
