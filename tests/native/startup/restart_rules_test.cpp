#include "setup/startup/restart_rules.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

TEST(ElevatedRestart, OnlyAnAdministratorBehindALimitedTokenOnNtSixRestarts) {
    EXPECT_TRUE(ShouldRelaunchElevated(true, true, true));
    // A plain user behind a limited token goes on unelevated.
    EXPECT_FALSE(ShouldRelaunchElevated(true, true, false));
    // Already elevated, or no split token at all.
    EXPECT_FALSE(ShouldRelaunchElevated(true, false, true));
    // Systems before NT 6 have no elevation.
    EXPECT_FALSE(ShouldRelaunchElevated(false, true, true));
}

TEST(UninstallerWorkCopy, LivesInKestroGCBelowTheTemporaryFolderWithOrWithoutItsSeparator) {
    EXPECT_EQ(WorkCopyPath(L"C:\\Users\\u\\AppData\\Local\\Temp\\"),
              L"C:\\Users\\u\\AppData\\Local\\Temp\\KestroGC\\unins000.exe");
    EXPECT_EQ(WorkCopyPath(L"C:\\Temp"), L"C:\\Temp\\KestroGC\\unins000.exe");
    EXPECT_EQ(WorkCopyFolder(L"C:\\Temp\\"), L"C:\\Temp\\KestroGC");
}

TEST(UninstallerWorkCopy, PathsCompareWithoutCaseAndWithEitherSeparator) {
    EXPECT_TRUE(SamePathIgnoringCase(L"C:\\TEMP\\KestroGC\\UNINS000.EXE", L"c:\\temp\\kestrogc\\unins000.exe"));
    EXPECT_TRUE(SamePathIgnoringCase(L"C:/Temp/KestroGC/unins000.exe", L"C:\\Temp\\KestroGC\\unins000.exe"));
    // The short form of a folder is a different text: callers compare long forms.
    EXPECT_FALSE(SamePathIgnoringCase(L"C:\\PROGRA~1\\KestroGC\\unins000.exe",
                                      L"C:\\Program Files\\KestroGC\\unins000.exe"));
    EXPECT_FALSE(SamePathIgnoringCase(L"C:\\Temp\\KestroGC\\unins000.exe", L"C:\\Temp\\KestroGC\\unins001.exe"));
}

}  // namespace
}  // namespace kestro
