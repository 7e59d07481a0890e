#include "setup/window/page_rules.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

TEST(InstallFolder, OnlyAbsoluteDriveOrSharePathsAreAccepted) {
    EXPECT_TRUE(IsAcceptableInstallFolder(L"C:\\Games\\Tarnwell\\KestroGC"));
    EXPECT_TRUE(IsAcceptableInstallFolder(L"D:\\"));
    EXPECT_TRUE(IsAcceptableInstallFolder(L"\\\\server\\share\\Kestro"));
    EXPECT_FALSE(IsAcceptableInstallFolder(L""));
    EXPECT_FALSE(IsAcceptableInstallFolder(L"Games\\Kestro"));
    EXPECT_FALSE(IsAcceptableInstallFolder(L"\\Games"));
    EXPECT_FALSE(IsAcceptableInstallFolder(L"C:Games"));
    EXPECT_FALSE(IsAcceptableInstallFolder(L"\\\\server"));
}

TEST(BrowseChoice, AppendsTheProductFolderWithExactlyOneSeparator) {
    EXPECT_EQ(FolderFromBrowseChoice(L"D:\\"), L"D:\\Tarnwell\\KestroGC");
    EXPECT_EQ(FolderFromBrowseChoice(L"D:\\Games"), L"D:\\Games\\Tarnwell\\KestroGC");
    EXPECT_EQ(FolderFromBrowseChoice(L"  D:\\Games \t"), L"D:\\Games\\Tarnwell\\KestroGC");
}

TEST(LaunchCommand, TheLastSlashStartsTheArguments) {
    auto split = SplitLaunchCommand(L"C:\\Kestro\\KestroGC.exe -x /from setup");
    EXPECT_EQ(split.program, L"\"C:\\Kestro\\KestroGC.exe -x\"");
    EXPECT_EQ(split.parameters, L" /from setup");
    auto plain = SplitLaunchCommand(L"C:\\Program Files\\Kestro\\KestroGC.exe");
    EXPECT_EQ(plain.program, L"C:\\Program Files\\Kestro\\KestroGC.exe");
    EXPECT_EQ(plain.parameters, L"");
    auto leading = SplitLaunchCommand(L"/x");
    EXPECT_EQ(leading.program, L"/x");
}

TEST(Slide, ElevenStepsOfFiftyPixelsInBothDirections) {
    EXPECT_EQ(SlideStep(0, true).leavingX, 0);
    EXPECT_EQ(SlideStep(0, true).showingX, 528);
    EXPECT_EQ(SlideStep(10, true).leavingX, -500);
    EXPECT_EQ(SlideStep(10, true).showingX, 28);
    EXPECT_EQ(SlideStep(3, false).leavingX, 150);
    EXPECT_EQ(SlideStep(3, false).showingX, -378);
}

TEST(Progress, CreepsTowardTheTargetAndStopsAtAHundred) {
    EXPECT_EQ(NextProgressValue(10, 30), 11);
    EXPECT_EQ(NextProgressValue(30, 30), 30);
    EXPECT_EQ(NextProgressValue(40, 30), 40);
    EXPECT_FALSE(ProgressTimerDone(99));
    EXPECT_TRUE(ProgressTimerDone(100));
}

}  // namespace
}  // namespace kestro
