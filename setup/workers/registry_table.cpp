#include "setup/workers/registry_table.h"

#include "services/config/product_title.h"
#include "services/encoding/split_text.h"
#include "setup/workers/product_names.h"

namespace kestro {
namespace {

RegistryValueEntry Text(const std::wstring& name, const std::wstring& text) {
    RegistryValueEntry value;
    value.name = name;
    value.text = text;
    return value;
}

RegistryValueEntry Number(const std::wstring& name, uint32_t number) {
    RegistryValueEntry value;
    value.name = name;
    value.isText = false;
    value.number = number;
    return value;
}

}  // namespace

std::wstring PublisherForTheme(const std::wstring& theme) {
    if (theme == L"orvik") return L"Orvik网络技术有限公司";
    if (theme == L"quenta") return L"Quenta信息技术有限公司";
    return L"Tarnwell科技股份有限公司";
}

std::wstring AppIdFromInstallerName(const std::wstring& installerPath) {
    size_t slash = installerPath.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? installerPath : installerPath.substr(slash + 1);
    if (name.size() <= 4) return std::wstring();
    std::wstring rest = name.substr(0, name.size() - 4);
    if (rest.find(L'.') == std::wstring::npos) return std::wstring();
    std::vector<std::wstring> pieces;
    SplitText(rest, L"_", pieces);
    return pieces.empty() ? std::wstring() : pieces.back();
}

std::wstring ProtocolCommand(const std::wstring& lastrunPath) {
    return L"\"" + lastrunPath + L"\" \"%1\" -from oneclick";
}

std::vector<RegistryKeyEntry> BuildInstallRegistry(const InstallRegistryInput& input) {
    std::wstring uninstaller = input.targetFolder + L"\\" + kUninstallerFileName;
    uint32_t channel = static_cast<uint32_t>(input.channel);
    std::vector<RegistryKeyEntry> keys;

    keys.push_back(
        {RegistryRoot::LocalMachine,
         kProductUninstallKey,
         -1,
         {Text(L"DisplayName", config::kProductTitle), Text(L"DisplayIcon", uninstaller),
          Text(L"HelpLink", input.helpLink), Text(L"UninstallString", uninstaller),
          Text(L"Publisher", PublisherForTheme(input.theme)), Text(L"Lang", L"2052"), Number(L"Channel", channel)}});

    RegistryKeyEntry user{
        RegistryRoot::CurrentUser, kProductUserKey, -1, {Number(L"Channel", channel), Text(L"Theme", input.theme)}};
    if (!input.appId.empty()) user.values.push_back(Text(L"AppID", input.appId));
    keys.push_back(user);

    int protocol = static_cast<int>(keys.size());
    keys.push_back(
        {RegistryRoot::ClassesRoot, kProtocolKey, -1, {Text(L"Url Protocol", L"URL:KestroGC Android Protocol")}});
    int icon = static_cast<int>(keys.size());
    keys.push_back({RegistryRoot::ClassesRoot,
                    std::wstring(kProtocolKey) + L"\\DefaultIcon",
                    protocol,
                    {Text(L"", input.lastrunPath + L",0")}});
    keys.push_back({RegistryRoot::ClassesRoot,
                    std::wstring(kProtocolKey) + L"\\Shell\\open\\Command",
                    icon,
                    {Text(L"", ProtocolCommand(input.lastrunPath))}});

    keys.push_back({RegistryRoot::CurrentUser,
                    std::wstring(kProtocolExecuteKey) + L"\\" + kProtocolKey,
                    -1,
                    {Number(L"WarnOnOpen", 0)}});
    return keys;
}

}  // namespace kestro
