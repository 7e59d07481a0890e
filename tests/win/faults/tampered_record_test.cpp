// Uninstallers whose record was edited: a drive root or a climbing root, the root
// itself listed as a file or folder, wildcards. Nothing outside the install folder
// is touched, and nothing inside it that the record does not name exactly.
#include <windows.h>

#include <gtest/gtest.h>

#include "fault_support.h"
#include "setup/package/package_records.h"
#include "setup/workers/utf8_path.h"

namespace kestro {
namespace testing {
namespace {

class TamperedRecord : public WorkerTest {
protected:
    void SetUp() override {
        WorkerTest::SetUp();
        victim_ = scratch_ + L"\\victim.txt";
        WriteBytes(victim_, "not the product's");
        ASSERT_TRUE(CreateDirectoryW(Target().c_str(), nullptr));
        WriteBytes(Target(L"user.txt"), "the user's");
        WriteBytes(Target(L"product.txt"), "the product's");
    }

    static std::string Encode(const std::wstring& path) { return UninstallRecord::EncodePath(Utf8FromWide(path)); }

    // Runs an uninstaller of the driver program whose record names `root`, `files` and `folders`.
    DriverResult RunUninstaller(const std::wstring& root, const std::vector<std::wstring>& files,
                                const std::vector<std::wstring>& folders) {
        JValue record = JValue::Object();
        record.Set("mode", 0);
        record.Set("channel", 30001);
        JValue setup = JValue::Object();
        setup.Set("root", Encode(root));
        setup.Set("shortcut", JValue::Object());
        record.Set("setup", setup);
        JValue fileList = JValue::Array();
        for (const std::wstring& f : files) fileList.Append(Encode(f));
        record.Set("files", fileList);
        JValue folderList = JValue::Array();
        for (const std::wstring& f : folders) folderList.Append(Encode(f));
        record.Set("folders", folderList);
        std::string uninstaller =
            MakePackage(ReadBytes(BinFolder() + L"\\kestro_worker_driver.exe"), record.WriteCompact(), "");
        uninstaller.resize(uninstaller.size() - 4);  // an uninstaller has no archive part
        std::wstring program = scratch_ + L"\\tampered.exe";
        WriteBytes(program, uninstaller);
        return Run(program, L"");
    }

    void ExpectOutsideUntouched() {
        EXPECT_TRUE(Exists(victim_));
        EXPECT_TRUE(Exists(Target(L"user.txt")));
        EXPECT_TRUE(Exists(scratch_ + L"\\tampered.exe"));
    }

    std::wstring victim_;
};

TEST_F(TamperedRecord, ADriveRootIsRefusedAndTheUninstallFails) {
    for (const wchar_t* root : {L"C:\\", L"C:", L"C:/", L"\\\\?\\C:\\kestro-worker-tests"}) {
        SCOPED_TRACE(std::string(root, root + wcslen(root)));
        DriverResult result = RunUninstaller(root, {victim_, Target(L"product.txt")}, {scratch_});
        EXPECT_EQ(result.exitCode, 1u);
        ExpectOutsideUntouched();
        EXPECT_TRUE(Exists(Target(L"product.txt")));
    }
}

TEST_F(TamperedRecord, AClimbingRootIsRefused) {
    DriverResult result = RunUninstaller(Target(L".."), {victim_}, {Target(L"..")});
    EXPECT_EQ(result.exitCode, 1u);
    ExpectOutsideUntouched();
}

// The root listed as a file and as a folder would take the user's file with it.
TEST_F(TamperedRecord, TheRootItselfListedIsNotDeletedWithTheUsersFiles) {
    DriverResult result = RunUninstaller(target_, {Target(L"product.txt"), target_, target_ + L"\\"},
                                         {target_, target_ + L"\\", target_ + L"\\\\"});
    EXPECT_EQ(result.Posted(), 0x8401);
    EXPECT_FALSE(Exists(Target(L"product.txt")));
    ExpectOutsideUntouched();
}

// Shell file operations expand wildcards: a recorded "*" must not become "everything".
TEST_F(TamperedRecord, WildcardsMatchNothing) {
    CreateDirectoryW(Target(L"data").c_str(), nullptr);
    WriteBytes(Target(L"data\\saved.txt"), "the user's");
    DriverResult result = RunUninstaller(target_, {Target(L"*"), Target(L"*.txt"), Target(L"user.tx?")},
                                         {Target(L"*"), Target(L"d*"), Target(L"..\\*")});
    EXPECT_EQ(result.Posted(), 0x8401);
    EXPECT_TRUE(Exists(Target(L"product.txt")));
    EXPECT_TRUE(Exists(Target(L"data\\saved.txt")));
    ExpectOutsideUntouched();
}

TEST_F(TamperedRecord, PathsClimbingOutOfTheRootAreSkippedOthersStillGo) {
    DriverResult result = RunUninstaller(
        target_, {Target(L"..\\victim.txt"), Target(L"sub\\..\\..\\victim.txt"), Target(L"product.txt")},
        {Target(L"..\\"), Target(L"./..")});
    EXPECT_EQ(result.Posted(), 0x8401);
    EXPECT_FALSE(Exists(Target(L"product.txt")));
    ExpectOutsideUntouched();
}

}  // namespace
}  // namespace testing
}  // namespace kestro
