#include "services/shell/shell_rules.h"
#include "services/base/version_query.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

TEST(ShellRules, VistaOrLaterMeansAnNtSystemAboveMajorVersionFive) {
    EXPECT_FALSE(IsVistaOrLaterVersion(2, 5));   // XP, 2003
    EXPECT_TRUE(IsVistaOrLaterVersion(2, 6));    // Vista, 7, 8
    EXPECT_TRUE(IsVistaOrLaterVersion(2, 10));
    EXPECT_FALSE(IsVistaOrLaterVersion(1, 6));   // the 9x family never counts
}

TEST(ShellRules, ElevationAsksForRunasOnlyFromVistaOn) {
    EXPECT_STREQ(ElevationVerb(true), L"runas");
    EXPECT_STREQ(ElevationVerb(false), L"open");
}

TEST(ShellRules, ShortcutWorkingFolderIsTheFolderOfAFileOrTheFolderItself) {
    EXPECT_EQ(ShortcutWorkingFolder(L"D:\\App\\run.exe", false), L"D:\\App");
    EXPECT_EQ(ShortcutWorkingFolder(L"D:\\App", true), L"D:\\App");
    EXPECT_EQ(ShortcutWorkingFolder(L"D:\\run.exe", false), L"D:\\");
    EXPECT_EQ(ShortcutWorkingFolder(L"C:\\Program Files (x86)\\Kestro\\KestroGC.exe", false),
              L"C:\\Program Files (x86)\\Kestro");
    EXPECT_EQ(ShortcutWorkingFolder(L"run.exe", false), L"");
}

TEST(ShellRules, ShortcutFilesAreNamedInTheirFolderAndNeverWithoutOne) {
    EXPECT_EQ(ShortcutFilePath(L"C:\\users\\Public\\Desktop", L"Kestro 模拟器"), L"C:\\users\\Public\\Desktop\\Kestro 模拟器.lnk");
    EXPECT_EQ(ShortcutFilePath(L"", L"Kestro"), L"");
    EXPECT_EQ(ShortcutFilePath(L"C:\\Desktop", L""), L"");
}

TEST(ShellRules, TaskbarVerbTargetsTheQuickLaunchLinkFromVistaOn) {
    const std::wstring ql = L"C:\\users\\u\\AppData\\Roaming\\Microsoft\\Internet Explorer\\Quick Launch";
    TaskbarVerbCall pin = DecideTaskbarVerb(TaskbarChange::kPin, true, ql, L"Kestro");
    EXPECT_TRUE(pin.run);
    EXPECT_STREQ(pin.verb, L"taskbarpin");
    EXPECT_EQ(pin.file, ql + L"\\Kestro.lnk");
    TaskbarVerbCall unpin = DecideTaskbarVerb(TaskbarChange::kUnpin, true, ql, L"Kestro");
    EXPECT_TRUE(unpin.run);
    EXPECT_STREQ(unpin.verb, L"taskbarunpin");
    EXPECT_EQ(unpin.file, pin.file);
}

TEST(ShellRules, NoTaskbarVerbBeforeVistaOrWithoutAFolderOrName) {
    const std::wstring ql = L"C:\\Quick Launch";
    EXPECT_FALSE(DecideTaskbarVerb(TaskbarChange::kPin, false, ql, L"Kestro").run);
    EXPECT_FALSE(DecideTaskbarVerb(TaskbarChange::kUnpin, false, ql, L"Kestro").run);
    EXPECT_FALSE(DecideTaskbarVerb(TaskbarChange::kPin, true, L"", L"Kestro").run);
    EXPECT_FALSE(DecideTaskbarVerb(TaskbarChange::kPin, true, ql, L"").run);
}

TEST(ShellRules, VersionQueriesUseLowerCaseHexOfLanguageAndCodePage) {
    EXPECT_EQ(VersionStringQuery(0x0804, 0x04B0, L"PrivateBuild"), L"\\StringFileInfo\\080404b0\\PrivateBuild");
    EXPECT_EQ(VersionStringQuery(0x0409, 0x04E4, L"FileVersion"), L"\\StringFileInfo\\040904e4\\FileVersion");
    EXPECT_STREQ(kVersionStringKeys[0], L"Comments");
    EXPECT_STREQ(kVersionStringKeys[10], L"PrivateBuild");
    EXPECT_STREQ(kVersionStringKeys[11], L"SpecialBuild");
}

}  // namespace
}  // namespace kestro
