#include "setup/workers/registry_table.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

const RegistryValueEntry* FindValue(const RegistryKeyEntry& key, const std::wstring& name) {
    for (const RegistryValueEntry& value : key.values) {
        if (value.name == name) return &value;
    }
    return nullptr;
}

TEST(InstallerAppId, ComesFromTheLastUnderscorePieceOfADottedName) {
    EXPECT_EQ(AppIdFromInstallerName(L"C:\\Downloads\\setup_1.0_partner.exe"), L"partner");
    EXPECT_EQ(AppIdFromInstallerName(L"setup_1.0_partner.exe"), L"partner");
    EXPECT_EQ(AppIdFromInstallerName(L"C:\\x.y\\setup.exe"), L"");
    EXPECT_EQ(AppIdFromInstallerName(L"setup_v1.exe"), L"");
    EXPECT_EQ(AppIdFromInstallerName(L"setup_2.5_.exe"), L"2.5");  // a trailing "_" adds no piece
    EXPECT_EQ(AppIdFromInstallerName(L"kestro1.2.exe"), L"kestro1.2");
    EXPECT_EQ(AppIdFromInstallerName(L".exe"), L"");
}

TEST(Publisher, FollowsTheTheme) {
    EXPECT_EQ(PublisherForTheme(L"orvik"), L"Orvik网络技术有限公司");
    EXPECT_EQ(PublisherForTheme(L"quenta"), L"Quenta信息技术有限公司");
    EXPECT_EQ(PublisherForTheme(L"default"), L"Tarnwell科技股份有限公司");
    EXPECT_EQ(PublisherForTheme(L"Orvik"), L"Tarnwell科技股份有限公司");
}

TEST(InstallRegistry, ProtocolCommandQuotesThePathAndTheArgument) {
    EXPECT_EQ(ProtocolCommand(L"C:\\P F\\KestroGC.exe"), L"\"C:\\P F\\KestroGC.exe\" \"%1\" -from oneclick");
}

TEST(InstallRegistry, TableHoldsEveryKeyWithItsValuesAndDependencies) {
    InstallRegistryInput input;
    input.targetFolder = L"C:\\P\\KestroGC";
    input.lastrunPath = L"C:\\P\\KestroGC\\KestroGC.exe";
    input.theme = L"quenta";
    input.channel = 30002;
    input.appId = L"partner";
    input.helpLink = L"http://help.example/";
    std::vector<RegistryKeyEntry> keys = BuildInstallRegistry(input);
    ASSERT_EQ(keys.size(), 6u);

    const RegistryKeyEntry& uninstall = keys[0];
    EXPECT_EQ(uninstall.root, RegistryRoot::LocalMachine);
    EXPECT_EQ(uninstall.path, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KestroGC");
    EXPECT_EQ(FindValue(uninstall, L"DisplayName")->text, L"Kestro 模拟器");
    EXPECT_EQ(FindValue(uninstall, L"DisplayIcon")->text, L"C:\\P\\KestroGC\\unins000.exe");
    EXPECT_EQ(FindValue(uninstall, L"UninstallString")->text, L"C:\\P\\KestroGC\\unins000.exe");
    EXPECT_EQ(FindValue(uninstall, L"Publisher")->text, L"Quenta信息技术有限公司");
    EXPECT_EQ(FindValue(uninstall, L"Lang")->text, L"2052");
    EXPECT_EQ(FindValue(uninstall, L"HelpLink")->text, L"http://help.example/");
    ASSERT_FALSE(FindValue(uninstall, L"Channel")->isText);
    EXPECT_EQ(FindValue(uninstall, L"Channel")->number, 30002u);

    const RegistryKeyEntry& user = keys[1];
    EXPECT_EQ(user.root, RegistryRoot::CurrentUser);
    EXPECT_EQ(user.path, L"SOFTWARE\\Tarnwell\\KestroGC");
    EXPECT_EQ(FindValue(user, L"Channel")->number, 30002u);
    EXPECT_EQ(FindValue(user, L"Theme")->text, L"quenta");
    EXPECT_EQ(FindValue(user, L"AppID")->text, L"partner");

    EXPECT_EQ(keys[2].root, RegistryRoot::ClassesRoot);
    EXPECT_EQ(keys[2].path, L"gcapp");
    EXPECT_EQ(FindValue(keys[2], L"Url Protocol")->text, L"URL:KestroGC Android Protocol");
    EXPECT_EQ(keys[3].path, L"gcapp\\DefaultIcon");
    EXPECT_EQ(keys[3].requires, 2);
    EXPECT_EQ(FindValue(keys[3], L"")->text, L"C:\\P\\KestroGC\\KestroGC.exe,0");
    EXPECT_EQ(keys[4].path, L"gcapp\\Shell\\open\\Command");
    EXPECT_EQ(keys[4].requires, 3);
    EXPECT_EQ(FindValue(keys[4], L"")->text, L"\"C:\\P\\KestroGC\\KestroGC.exe\" \"%1\" -from oneclick");

    EXPECT_EQ(keys[5].root, RegistryRoot::CurrentUser);
    EXPECT_EQ(keys[5].path, L"Software\\Microsoft\\Internet Explorer\\ProtocolExecute\\gcapp");
    ASSERT_FALSE(FindValue(keys[5], L"WarnOnOpen")->isText);
    EXPECT_EQ(FindValue(keys[5], L"WarnOnOpen")->number, 0u);
}

TEST(InstallRegistry, NoAppIdValueWithoutAnAppId) {
    InstallRegistryInput input;
    input.theme = L"default";
    std::vector<RegistryKeyEntry> keys = BuildInstallRegistry(input);
    EXPECT_EQ(FindValue(keys[1], L"AppID"), nullptr);
}

}  // namespace
}  // namespace kestro
