// Target folders the install cannot use as asked: on a read-only drive, or so deep
// that the product's paths pass 260 characters. Either a clean failure with nothing
// left behind, or a complete install that the uninstaller removes again.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "fault_support.h"
#include "setup/workers/product_names.h"

namespace kestro {
namespace testing {
namespace {

class TargetFolderFault : public WorkerTest {
protected:

    void ExpectNothingInstalled() {
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductUninstallKey));
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kProtocolKey));
        EXPECT_FALSE(Exists(CommonDesktopLink()));
    }
};

// The wrapper mounts a read-only drive: the target cannot be created there.
TEST_F(TargetFolderFault, AReadOnlyDriveFailsCleanly) {
    const char* drive = getenv("KESTRO_READONLY_DRIVE");
    if (!drive || !*drive) GTEST_SKIP() << "no read-only drive mapped (needs the mount of scripts/wine-with-drive.sh)";
    std::wstring package = WritePackage(L"setup.exe", PlainConfig(), StandardEntries());
    target_ = std::wstring(drive, drive + strlen(drive)) + L"Kestro";
    DriverResult result = Install(package);
    EXPECT_EQ(result.Posted(), 0x8402);
    EXPECT_FALSE(Exists(target_));
    ExpectNothingInstalled();
}

// A target whose own path fits but whose deeper files do not (Wine, like Windows
// with long paths enabled, may accept them): all or nothing.
TEST_F(TargetFolderFault, ATargetNear260CharactersInstallsWhollyOrNotAtAll) {
    std::wstring package = WritePackage(L"setup.exe", PlainConfig(), StandardEntries());
    // "deep\er\still\b.txt" is the longest relative path of the package (19 characters).
    target_ = scratch_ + L"\\" + std::wstring(249 - scratch_.size(), L'p');
    ASSERT_EQ(target_.size(), 250u);
    DriverResult result = Install(package);
    if (result.Posted() == 0x8401) {
        EXPECT_TRUE(Exists(Target(L"deep\\er\\still\\b.txt")));
        EXPECT_TRUE(Exists(Target(L"res\\sub\\deep.txt")));
        EXPECT_TRUE(Exists(Target(kUninstallerFileName)));
        EXPECT_EQ(Uninstall().exitCode, 0u);
        EXPECT_FALSE(Exists(target_));
    } else {
        EXPECT_EQ(result.Posted(), 0x8402);
        EXPECT_FALSE(Exists(target_));
    }
    ExpectNothingInstalled();
}

TEST_F(TargetFolderFault, ATargetLongerThan260CharactersFailsCleanlyOrInstallsWholly) {
    std::wstring package = WritePackage(L"setup.exe", PlainConfig(), StandardEntries());
    target_ = scratch_ + L"\\" + std::wstring(120, L'q') + L"\\" + std::wstring(270 - scratch_.size() - 122, L'r');
    ASSERT_EQ(target_.size(), 270u);
    DriverResult result = Install(package);
    if (result.Posted() == 0x8401) {
        EXPECT_TRUE(Exists(Target(L"deep\\er\\still\\b.txt")));
        EXPECT_EQ(Uninstall().exitCode, 0u);
        EXPECT_FALSE(Exists(target_));
    } else {
        EXPECT_EQ(result.Posted(), 0x8402);
        EXPECT_FALSE(Exists(target_));
    }
    ExpectNothingInstalled();
}

}  // namespace
}  // namespace testing
}  // namespace kestro
