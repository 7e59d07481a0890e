#pragma once
// The registry entries a successful install writes, as data: the install shell walks
// the table, and tests read it back against the real registry.
#include <cstdint>
#include <string>
#include <vector>

namespace kestro {

enum class RegistryRoot { LocalMachine, CurrentUser, ClassesRoot };

struct RegistryValueEntry {
    std::wstring name;  // empty: the key's default value
    bool isText = true;
    std::wstring text;
    uint32_t number = 0;
};

struct RegistryKeyEntry {
    RegistryRoot root;
    std::wstring path;
    // Index of an earlier key that must have been created for this one to be written; -1: none.
    int requires = -1;
    std::vector<RegistryValueEntry> values;
};

struct InstallRegistryInput {
    std::wstring targetFolder;
    std::wstring lastrunPath;
    std::wstring theme;
    int channel = 0;
    std::wstring appId;     // empty: no AppID value
    std::wstring helpLink;  // the maker's web address
};

// "Orvik网络技术有限公司" for theme "orvik", "Quenta信息技术有限公司" for "quenta",
// "Tarnwell科技股份有限公司" otherwise.
std::wstring PublisherForTheme(const std::wstring& theme);

// The AppID an installer's file name carries ("setup_1.0_partner.exe" gives "partner"):
// the name without folder and without its last four characters; when that holds a ".",
// the last "_"-separated piece. Empty when the name gives none.
std::wstring AppIdFromInstallerName(const std::wstring& installerPath);

// The gcapp command: the lastrun path and %1, each in quotation marks, then -from oneclick.
std::wstring ProtocolCommand(const std::wstring& lastrunPath);

std::vector<RegistryKeyEntry> BuildInstallRegistry(const InstallRegistryInput& input);

}  // namespace kestro
