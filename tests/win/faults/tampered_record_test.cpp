// Uninstallers whose record was edited: a drive root or a climbing root, the root
// itself listed as a file or folder, wildcards, commands outside the root. Nothing
// outside the install folder is touched or started, and nothing inside it that the
// record does not name exactly.
#include <windows.h>

#include <gtest/gtest.h>

#include "fault_support.h"
#include "services/base/utf8.h"

namespace kestro {
namespace testing {
namespace {

class TamperedRecord : public WorkerTest {
protected:
    void SetUp() override {
        WorkerTest::SetUp();
        victim_ = scratch_ + L"\\victim.txt";
        ASSERT_TRUE(WriteBytes(victim_, "not the product's"));
        ASSERT_TRUE(CreateDirectoryW(Target().c_str(), nullptr));
        ASSERT_TRUE(WriteBytes(Target(L"user.txt"), "the user's"));
        ASSERT_TRUE(WriteBytes(Target(L"product.txt"), "the product's"));
    }

    // Runs an uninstaller of the driver program whose record names `root`, `files` and `folders`.
    DriverResult RunUninstaller(const std::wstring& root, const std::vector<std::wstring>& files,
                                const std::vector<std::wstring>& folders, const JValue& uninstrun = JValue()) {
        std::wstring program = scratch_ + L"\\tampered.exe";
        EXPECT_TRUE(WriteBytes(program, MakeUninstaller(L"kestro_worker_driver.exe", root, files, folders, uninstrun)));
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
    ASSERT_TRUE(WriteBytes(Target(L"data\\saved.txt"), "the user's"));
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

// The uninstaller runs elevated: a recorded command starts only from inside the root.
TEST_F(TamperedRecord, UninstallCommandsRunOnlyFromInsideTheRoot) {
    const std::string fixture = ReadBytes(BinFolder() + L"\\kestro_worker_fixture.exe");
    ASSERT_TRUE(WriteBytes(Target(L"inside.exe"), fixture));
    const std::wstring outside = scratch_ + L"\\outside.exe";
    ASSERT_TRUE(WriteBytes(outside, fixture));
    JValue commands = JValue::Array();
    commands.Append("inside.exe ran");
    commands.Append("../outside.exe climbed");
    commands.Append("\"sub\\..\\..\\outside.exe\" quoted");
    commands.Append(Utf8FromWide(outside) + " absolute");
    DriverResult result = RunUninstaller(target_, {Target(L"product.txt")}, {}, commands);
    EXPECT_EQ(result.Posted(), 0x8401);
    EXPECT_EQ(ReadBytes(Target(L"inside.exe.args")), "ran\n");
    EXPECT_FALSE(Exists(outside + L".args"));
    ExpectOutsideUntouched();
}

}  // namespace
}  // namespace testing
}  // namespace kestro
