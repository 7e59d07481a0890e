#include "setup/window/page_rules.h"
#include "setup/workers/install_root.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

// Every source of a target folder ends in one normal form; drive and share roots,
// relative and climbing folders are refused. Expected forms worked out by hand.
TEST(InstallFolder, OneNormalFormAndOnlyFoldersBelowADriveOrShare) {
    const std::pair<const wchar_t*, const wchar_t*> accepted[] = {
        {L"C:\\Games\\Tarnwell\\KestroGC", L"C:\\Games\\Tarnwell\\KestroGC"},
        {L"C:/Games", L"C:\\Games"},                                                    // typed with "/"
        {L"C:\\\\Tarnwell\\KestroGC", L"C:\\Tarnwell\\KestroGC"},                     // /D C:\ + the product folder
        {L"C:\\Games\\\\Tarnwell\\KestroGC", L"C:\\Games\\Tarnwell\\KestroGC"},       // /D C:\Games\ + ...
        {L"C:\\Dot\\.\\Tarnwell\\KestroGC", L"C:\\Dot\\Tarnwell\\KestroGC"},         // /D C:\Dot\.
        {L"D:\\Games\\", L"D:\\Games"},
        {L"d:/a//b/./c/", L"d:\\a\\b\\c"},
        {L"\\\\server\\share\\Kestro", L"\\\\server\\share\\Kestro"},
        {L"//server/share//Kestro/", L"\\\\server\\share\\Kestro"},
    };
    for (const auto& c : accepted) {
        std::wstring normal;
        EXPECT_TRUE(AcceptInstallFolder(c.first, normal)) << c.first;
        EXPECT_EQ(normal, c.second);
    }
    for (const wchar_t* refused : {L"", L"C:\\", L"C:/", L"C:", L"C:\\.", L"C:\\\\", L"Games\\Kestro", L"Games",
                                   L"\\Tarnwell\\KestroGC", L"C:Games", L"C:\\Games\\..\\Windows", L"C:\\Games\\..",
                                   L"\\\\server", L"\\\\server\\share", L"\\\\server\\share\\", L"\\\\\\server\\share\\K",
                                   L"\\\\?\\C:\\Games", L"C:\\Games \\K", L"C:\\a|b"}) {
        std::wstring normal = L"untouched";
        EXPECT_FALSE(AcceptInstallFolder(refused, normal)) << refused;
        EXPECT_EQ(normal, L"untouched");
    }
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
