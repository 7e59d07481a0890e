#include "setup/workers/install_plan.h"
#include "setup/workers/uninstall_plan.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

TEST(InstallProgressSteps, MoveForwardInTheFixedOrder) {
    const InstallStage order[] = {InstallStage::Started,        InstallStage::OlderRemoved, InstallStage::InstallerRead,
                                  InstallStage::ArchiveWritten, InstallStage::Extracted,    InstallStage::DesktopDone,
                                  InstallStage::Registered};
    std::vector<std::pair<int, int>> seen;
    for (InstallStage stage : order) {
        ProgressStep step = InstallProgress(stage);
        seen.emplace_back(step.bar, step.target);
    }
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{
                        {-1, 50}, {50, 55}, {55, 60}, {60, 70}, {70, 85}, {85, 100}, {100, -1}}));
}

TEST(UninstallProgressSteps, MoveForwardInTheFixedOrder) {
    EXPECT_EQ(UninstallProgress(UninstallStage::Started).target, 20);
    EXPECT_EQ(UninstallProgress(UninstallStage::Shortcuts).bar, 20);
    EXPECT_EQ(UninstallProgress(UninstallStage::Shortcuts).target, 50);
    EXPECT_EQ(UninstallProgress(UninstallStage::Files).bar, 50);
    EXPECT_EQ(UninstallProgress(UninstallStage::Files).target, 100);
    EXPECT_EQ(UninstallProgress(UninstallStage::Registry).bar, 100);
}

TEST(TaskbarStep, IsLeftOutOnlyOnMajorVersion10) {
    EXPECT_TRUE(SkipsTaskbarStep(10));
    EXPECT_FALSE(SkipsTaskbarStep(6));
    EXPECT_FALSE(SkipsTaskbarStep(5));
}

TEST(EveryoneGrant, SkipsPathsOf260CharactersOrMoreInsteadOfCuttingThem) {
    EXPECT_TRUE(FitsGrantPathLimit(L"C:\\K"));
    EXPECT_TRUE(FitsGrantPathLimit(L"C:\\" + std::wstring(256, L'a')));   // 259 characters
    EXPECT_FALSE(FitsGrantPathLimit(L"C:\\" + std::wstring(257, L'a')));  // 260
    EXPECT_FALSE(FitsGrantPathLimit(L""));
}

TEST(ShortcutPaths, TurnForwardSlashesOfTheItemIntoBackslashes) {
    EXPECT_EQ(ShortcutTargetPath(L"C:\\K", L"bin/run.exe"), L"C:\\K\\bin\\run.exe");
    EXPECT_EQ(LastrunPath(L"C:\\K", L"bin/run.exe"), L"C:\\K\\bin/run.exe");
    EXPECT_EQ(StartMenuLink(L"C:\\Start\\Programs", L"Kestro 模拟器"),
              L"C:\\Start\\Programs\\Tarnwell\\Kestro 模拟器\\Kestro 模拟器.lnk");
}

TEST(UninstallReasons, CheckedBoxesGiveTheirCodesInBoxOrder) {
    bool none[kReasonCount] = {};
    EXPECT_TRUE(CheckedReasonCodes(none).empty());
    bool some[kReasonCount] = {true, false, true, false, true};
    EXPECT_EQ(CheckedReasonCodes(some), (std::vector<int>{1, 3, 5}));
}

TEST(EmulatorRemoval, CommandAndDownloadFolders) {
    EXPECT_EQ(EmulatorUninstallCommand(L"C:\\AVM\\uninst.exe", true), L"\"C:\\AVM\\uninst.exe\" /udeletedata");
    EXPECT_EQ(EmulatorUninstallCommand(L"C:\\AVM\\uninst.exe", false), L"\"C:\\AVM\\uninst.exe\" /ureservedata");
    EXPECT_EQ(EmulatorDownloadFolders(L"D:\\dl\\"), (std::vector<std::wstring>{L"D:\\dl\\APK", L"D:\\dl\\Emulator"}));
    EXPECT_EQ(EmulatorDownloadFolders(L"D:\\\\dl"), (std::vector<std::wstring>{L"D:\\dl\\APK", L"D:\\dl\\Emulator"}));
}

TEST(UninstallFiles, ProgramsAndLibrariesAreRecognisedInAnyCase) {
    EXPECT_TRUE(IsProgramOrLibrary(L"C:\\K\\KestroGC.exe"));
    EXPECT_TRUE(IsProgramOrLibrary(L"C:\\K\\RUN.EXE"));
    EXPECT_TRUE(IsProgramOrLibrary(L"C:\\K\\lib.Dll"));
    EXPECT_FALSE(IsProgramOrLibrary(L"C:\\K\\readme.exe.txt"));
    EXPECT_FALSE(IsProgramOrLibrary(L"exe"));
}

TEST(UninstallVersion, LeadingBuildNumberOfPrivateBuild) {
    EXPECT_EQ(LeadingBuildNumber(L"1234"), 1234);
    EXPECT_EQ(LeadingBuildNumber(L"2051.7 beta"), 2051);
    EXPECT_EQ(LeadingBuildNumber(L"beta"), 0);
    EXPECT_EQ(LeadingBuildNumber(L""), 0);
    EXPECT_EQ(LeadingBuildNumber(L"99999999999"), 2147483647);
}

}  // namespace
}  // namespace kestro
