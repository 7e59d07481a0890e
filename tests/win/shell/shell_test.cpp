#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>

#include "services/base/version_strings.h"
#include "services/shell/elevated_run.h"
#include "services/shell/resources.h"
#include "services/shell/shell_folders.h"
#include "services/shell/shortcuts.h"
#include "services/shell/system_version.h"
#include "services/shell/taskbar_pin.h"
#include "services/win/unique_handle.h"
#include "shell_test_ids.h"
#include "tests/win/support/test_files.h"

namespace kestro {
namespace {

using Clock = std::chrono::steady_clock;

using test::BinFolder;
using test::Exists;
using test::WriteBytes;

std::wstring ReadUtf16File(const std::wstring& path) {
    if (!Exists(path)) return L"<missing>";
    const std::string bytes = test::ReadBytes(path);
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

// A scratch folder per test, with a space in its name, removed afterwards.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = scratch_.Path();
        ASSERT_TRUE(scratch_.Made());
        ASSERT_TRUE(CreateDirectoryW((root_ + L"\\App").c_str(), nullptr));
        ASSERT_TRUE(WriteBytes(root_ + L"\\App\\run.exe", "not really a program"));
        name_ = L"Kestro 测试 " + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter_);
    }
    void TearDown() override {
        for (const auto& folder : {GetUserDesktopFolder(), GetCommonDesktopFolder(), GetQuickLaunchFolder()})
            DeleteFileW((folder + L"\\" + name_ + L".lnk").c_str());
    }

    struct LinkInfo {
        bool loaded = false;
        std::wstring path, workingFolder, arguments;
    };
    static LinkInfo ReadLink(const std::wstring& linkFile) {
        LinkInfo info;
        ScopedCom com;
        ComPtr<IShellLinkW> link;
        ComPtr<IPersistFile> file;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())) ||
            FAILED(link->QueryInterface(IID_IPersistFile, file.put_void())) ||
            FAILED(file->Load(linkFile.c_str(), STGM_READ)))
            return info;
        wchar_t buf[MAX_PATH] = L"";
        if (SUCCEEDED(link->GetPath(buf, MAX_PATH, nullptr, SLGP_RAWPATH))) info.path = buf;
        buf[0] = 0;
        if (SUCCEEDED(link->GetWorkingDirectory(buf, MAX_PATH))) info.workingFolder = buf;
        buf[0] = 0;
        if (SUCCEEDED(link->GetArguments(buf, MAX_PATH))) info.arguments = buf;
        info.loaded = true;
        return info;
    }

    static int counter_;
    test::ScratchFolder scratch_{L"kestro shell"};
    std::wstring root_;
    std::wstring name_;
};
int ShellTest::counter_ = 0;

TEST_F(ShellTest, ShortcutToAFileStartsInTheFilesFolder) {
    std::wstring target = root_ + L"\\App\\run.exe";
    std::wstring link = root_ + L"\\run.lnk";
    ASSERT_TRUE(CreateShortcut(target.c_str(), link.c_str()));
    LinkInfo info = ReadLink(link);
    ASSERT_TRUE(info.loaded);
    EXPECT_EQ(info.path, target);
    EXPECT_EQ(info.workingFolder, root_ + L"\\App");
    EXPECT_EQ(info.arguments, L"");
}

TEST_F(ShellTest, ShortcutToAFolderStartsInTheFolderItself) {
    std::wstring target = root_ + L"\\App";
    std::wstring link = root_ + L"\\app folder.lnk";
    ASSERT_TRUE(CreateShortcut(target.c_str(), link.c_str()));
    LinkInfo info = ReadLink(link);
    ASSERT_TRUE(info.loaded);
    EXPECT_EQ(info.path, target);
    EXPECT_EQ(info.workingFolder, target);
}

TEST_F(ShellTest, NoShortcutToAMissingTarget) {
    std::wstring link = root_ + L"\\ghost.lnk";
    EXPECT_FALSE(CreateShortcut((root_ + L"\\App\\ghost.exe").c_str(), link.c_str()));
    EXPECT_FALSE(Exists(link));
    EXPECT_FALSE(CreateDesktopShortcut(name_.c_str(), (root_ + L"\\nothing").c_str()));
    EXPECT_FALSE(Exists(GetCommonDesktopFolder() + L"\\" + name_ + L".lnk"));
}

TEST_F(ShellTest, DesktopShortcutGoesToTheAllUsersDesktopAndDeletionClearsBothDesktops) {
    std::wstring target = root_ + L"\\App\\run.exe";
    ASSERT_TRUE(CreateDesktopShortcut(name_.c_str(), target.c_str()));
    std::wstring common = GetCommonDesktopFolder() + L"\\" + name_ + L".lnk";
    std::wstring user = GetUserDesktopFolder() + L"\\" + name_ + L".lnk";
    ASSERT_NE(GetCommonDesktopFolder(), GetUserDesktopFolder());
    EXPECT_EQ(ReadLink(common).path, target);
    EXPECT_FALSE(Exists(user));
    // An older install may have left one on the user's desktop too.
    ASSERT_TRUE(CreateShortcut(target.c_str(), user.c_str()));
    EXPECT_TRUE(DeleteDesktopShortcuts(name_.c_str()));
    EXPECT_FALSE(Exists(common));
    EXPECT_FALSE(Exists(user));
    // Only the user desktop's copy: it goes, and the result is that of the all-users deletion.
    ASSERT_TRUE(CreateShortcut(target.c_str(), user.c_str()));
    EXPECT_FALSE(DeleteDesktopShortcuts(name_.c_str()));
    EXPECT_FALSE(Exists(user));
}

TEST_F(ShellTest, QuickLaunchShortcutIsCreatedAndDeletedOnce) {
    std::wstring target = root_ + L"\\App\\run.exe";
    ASSERT_TRUE(CreateQuickLaunchShortcut(name_.c_str(), target.c_str()));
    std::wstring link = GetQuickLaunchFolder() + L"\\" + name_ + L".lnk";
    EXPECT_NE(link.find(L"\\Microsoft\\Internet Explorer\\Quick Launch\\"), std::wstring::npos);
    EXPECT_EQ(ReadLink(link).workingFolder, root_ + L"\\App");
    EXPECT_TRUE(DeleteQuickLaunchShortcut(name_.c_str()));
    EXPECT_FALSE(Exists(link));
    EXPECT_FALSE(DeleteQuickLaunchShortcut(name_.c_str()));
}

TEST_F(ShellTest, SilentDeletionRemovesFilesAndFoldersAndFailsForMissingOnes) {
    std::wstring file = root_ + L"\\App\\run.exe";
    EXPECT_TRUE(DeleteFileSilently(file.c_str()));
    EXPECT_FALSE(Exists(file));
    EXPECT_FALSE(DeleteFileSilently(file.c_str()));
    EXPECT_FALSE(DeleteFileSilently(L""));
    ASSERT_TRUE(WriteBytes(root_ + L"\\App\\data.txt", "x"));
    EXPECT_TRUE(DeleteFileSilently((root_ + L"\\App").c_str()));
    EXPECT_FALSE(Exists(root_ + L"\\App"));
}

TEST_F(ShellTest, ElevatedRunWaitsForTheProgramAndPassesItsArguments) {
    // A copy under a folder with a space, so the program path must be split by the quoting rules.
    std::wstring helper = root_ + L"\\App\\helper copy.exe";
    ASSERT_TRUE(CopyFileW((BinFolder() + L"\\kestro_shell_fixture.exe").c_str(), helper.c_str(), FALSE));
    std::wstring marker = root_ + L"\\marker one.txt";
    std::wstring command = L"\"" + helper + L"\" \"" + marker + L"\" 700";
    auto start = Clock::now();
    ASSERT_TRUE(RunElevatedAndWait(command.c_str()));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(650));
    // Written by the helper just before it ended: present as soon as the wait returns.
    EXPECT_EQ(ReadUtf16File(marker), marker + L"\n700\n");
}

TEST_F(ShellTest, ElevatedRunTakesItsCommandFromTheStringTable) {
    ASSERT_TRUE(CopyFileW((BinFolder() + L"\\kestro_shell_fixture.exe").c_str(),
                          (root_ + L"\\kestro_shell_fixture.exe").c_str(), FALSE));
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(root_.c_str()));
    bool started = RunElevatedAndWait(MAKEINTRESOURCEW(IDS_RESOURCE_COMMAND));
    SetCurrentDirectoryW(previous);
    ASSERT_TRUE(started);
    EXPECT_EQ(ReadUtf16File(root_ + L"\\resource marker.txt"), L"resource marker.txt\n0\n");
}

TEST_F(ShellTest, ElevatedRunOfAMissingProgramFailsWithoutWaiting) {
    auto start = Clock::now();
    EXPECT_FALSE(RunElevatedAndWait((L"\"" + root_ + L"\\App\\missing.exe\" /x").c_str()));
    EXPECT_FALSE(RunElevatedAndWait(L""));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
}

TEST_F(ShellTest, TaskbarVerbsWithoutShellSupportReturnQuietlyAndKeepTheLink) {
    // Wine has no pin verbs: the call must neither block on an error window nor touch the link.
    std::wstring target = root_ + L"\\App\\run.exe";
    ASSERT_TRUE(CreateQuickLaunchShortcut(name_.c_str(), target.c_str()));
    auto start = Clock::now();
    PinToTaskbar(name_.c_str());
    UnpinFromTaskbar(name_.c_str());
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(ReadLink(GetQuickLaunchFolder() + L"\\" + name_ + L".lnk").path, target);
}

TEST(ShellSystem, WineReportsAVistaOrLaterSystem) {
    // The default prefix says 6.1; the decision itself is covered for every version natively.
    EXPECT_TRUE(IsVistaOrLater());
}

TEST(VersionStrings, ReadsEveryPresentFieldOfTheFirstTranslation) {
    std::map<std::wstring, std::wstring> fields;
    ASSERT_TRUE(ReadVersionStrings((BinFolder() + L"\\kestro_shell_fixture.exe").c_str(), fields));
    std::map<std::wstring, std::wstring> expected = {
        {L"CompanyName", L"Tarnwell"},      {L"FileDescription", L"Kestro 模拟器"}, {L"FileVersion", L"2.1.4.7"},
        {L"OriginalFilename", L"KestroGC.exe"}, {L"ProductName", L"Kestro 模拟器"},  {L"ProductVersion", L"3134"},
        {L"PrivateBuild", L"2147"},
    };
    EXPECT_EQ(fields, expected);
}

TEST(VersionStrings, ARecordWithoutPrivateBuildYieldsNoSuchKey) {
    std::map<std::wstring, std::wstring> fields = {{L"PrivateBuild", L"stale"}};
    ASSERT_TRUE(ReadVersionStrings((BinFolder() + L"\\kestro_shell_fixture_plain.exe").c_str(), fields));
    EXPECT_EQ(fields.count(L"PrivateBuild"), 0u);
    EXPECT_EQ(fields[L"ProductVersion"], L"3134");
}

TEST(VersionStrings, FilesWithoutARecordFail) {
    std::map<std::wstring, std::wstring> fields;
    EXPECT_FALSE(ReadVersionStrings((BinFolder() + L"\\no such file.exe").c_str(), fields));
    // The test program itself carries no version record.
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_FALSE(ReadVersionStrings(self, fields));
    EXPECT_TRUE(fields.empty());
}

TEST(Resources, RawResourceBytesComeBackWhole) {
    std::ifstream source(KESTRO_RAW_RESOURCE_SOURCE, std::ios::binary);
    std::string expected((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
    ASSERT_GT(expected.size(), 4u);
    std::string bytes;
    EXPECT_TRUE(LoadRawResource(GetModuleHandleW(nullptr), L"KESTRORAW", KESTRO_TEST_RAW_ID, bytes));
    EXPECT_EQ(bytes, expected);
    EXPECT_FALSE(LoadRawResource(GetModuleHandleW(nullptr), L"KESTRORAW", KESTRO_TEST_RAW_ID + 1, bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(Resources, TextWidthGrowsWithTextAndFontAndReadsStringResources) {
    int one = MeasureTextWidth(nullptr, L"W");
    int two = MeasureTextWidth(nullptr, L"WW");
    EXPECT_GT(one, 0);
    EXPECT_EQ(two, 2 * one);
    EXPECT_EQ(MeasureTextWidth(nullptr, L""), 0);
    EXPECT_EQ(MeasureTextWidth(nullptr, MAKEINTRESOURCEW(IDS_MEASURED_TEXT)), MeasureTextWidth(nullptr, L"安装目录"));
    EXPECT_GT(MeasureTextWidth(nullptr, L"安装目录"), 0);

    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    UniqueGdiObject big(CreateFontW(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, L"WenQuanYi Micro Hei"));
    int small = MeasureTextWidth(dc.get(), L"Kestro");
    ScopedSelect select(dc.get(), big.get());
    EXPECT_GT(MeasureTextWidth(dc.get(), L"Kestro"), small);
}

}  // namespace
}  // namespace kestro
