// The launcher's decisions without any system: edition titles, what a second
// start does, how the running window is brought forward, the reporter's path.
#include <gtest/gtest.h>

#include "services/config/edition_title.h"
#include "launcher/core/start_decisions.h"

namespace kestro {
namespace {

TEST(EditionTitle, KnownKeysGetTheirEditionTitles) {
    EXPECT_EQ(ProductTitleForEdition(L"lumo"), L"Lumo手游模拟器");
    EXPECT_EQ(ProductTitleForEdition(L"vesk"), L"Vesk手游助手");
    EXPECT_EQ(ProductTitleForEdition(L"orvik"), L"Orvik手游助手");
    EXPECT_EQ(ProductTitleForEdition(L"quenta"), L"Quenta模拟器");
}

TEST(EditionTitle, KeysAreMatchedExactlyAndEverythingElseGetsTheDefault) {
    for (const wchar_t* key : {L"Lumo", L"LUMO", L"lumo ", L" lumo", L"lum", L"lumox", L"default", L"", L"Quenta"}) {
        EXPECT_EQ(ProductTitleForEdition(key), L"Kestro 模拟器") << key;
    }
    const std::wstring withZero(L"lumo\0x", 6);
    EXPECT_EQ(ProductTitleForEdition(withZero), L"Kestro 模拟器");
}

TEST(SecondStart, HandsOverOnlyForFromOneclickAsWordsTwoAndThree) {
    EXPECT_TRUE(IsHandOverRequest({L"gc.exe", L"gcapp://x", L"-from", L"oneclick"}));
    EXPECT_TRUE(IsHandOverRequest({L"gc.exe", L"gcapp://x", L"-FROM", L"OneClick"}));
    EXPECT_TRUE(IsHandOverRequest({L"gc.exe", L"gcapp://x", L"-From", L"ONECLICK", L"more"}));
    // Word 1 is not looked at.
    EXPECT_TRUE(IsHandOverRequest({L"gc.exe", L"", L"-from", L"oneclick"}));

    EXPECT_FALSE(IsHandOverRequest({L"gc.exe", L"gcapp://x", L"-from"}));
    EXPECT_FALSE(IsHandOverRequest({L"gc.exe", L"gcapp://x", L"-from", L"desktop"}));
    EXPECT_FALSE(IsHandOverRequest({L"gc.exe", L"-from", L"oneclick"}));
    EXPECT_FALSE(IsHandOverRequest({L"gc.exe", L"gcapp://x", L"from", L"oneclick"}));
    EXPECT_FALSE(IsHandOverRequest({L"gc.exe", L"gcapp://x", L"-from", L"oneclicks"}));
    EXPECT_FALSE(IsHandOverRequest({L"gc.exe", L"gcapp://x", L"oneclick", L"-from"}));
    EXPECT_FALSE(IsHandOverRequest({}));
}

TEST(SecondStart, CaseFoldingCoversAsciiLettersOnly) {
    EXPECT_TRUE(EqualsIgnoringCase(L"OneClick", L"oNEcLICK"));
    EXPECT_FALSE(EqualsIgnoringCase(L"-from", L"_from"));
    EXPECT_FALSE(EqualsIgnoringCase(L"@", L"`"));  // neighbours of 'A' and 'a' fold to nothing
    EXPECT_FALSE(EqualsIgnoringCase(L"[", L"{"));  // neighbours of 'Z' and 'z'
    EXPECT_FALSE(EqualsIgnoringCase(L"ONECLİCK", L"oneclick"));
    EXPECT_FALSE(EqualsIgnoringCase(L"onecl", L"oneclick"));
}

TEST(Activation, RestoresMinimisedShowsHiddenAndLiftsVisibleWindows) {
    EXPECT_EQ(ChooseActivation(true, false, true, true), Activation::Restore);
    EXPECT_EQ(ChooseActivation(true, false, true, false), Activation::Restore);
    EXPECT_EQ(ChooseActivation(true, false, false, true), Activation::Lift);
    EXPECT_EQ(ChooseActivation(true, false, false, false), Activation::ShowNormal);
}

TEST(Activation, LeavesEverythingAloneWithoutAWindowOrWithAFullScreenProgram) {
    EXPECT_EQ(ChooseActivation(false, false, false, false), Activation::None);
    EXPECT_EQ(ChooseActivation(true, true, true, false), Activation::None);
    EXPECT_EQ(ChooseActivation(true, true, false, true), Activation::None);
    EXPECT_EQ(ChooseActivation(true, true, false, false), Activation::None);
}

TEST(CrashReporter, SitsBesideTheLauncher) {
    EXPECT_EQ(ReporterPathFor(L"C:\\Program Files\\Kestro\\KestroGC.exe", L"KestroGC.exe"),
              L"C:\\Program Files\\Kestro\\crashpost.exe");
    EXPECT_EQ(ReporterPathFor(L"KestroGC.exe", L"KestroGC.exe"), L"crashpost.exe");
}

TEST(CrashReporter, FoldersNamedLikeTheLauncherKeepTheirNames) {
    EXPECT_EQ(ReporterPathFor(L"D:\\KestroGC.exe\\KestroGC.exe", L"KestroGC.exe"), L"D:\\KestroGC.exe\\crashpost.exe");
    EXPECT_EQ(ReporterPathFor(L"D:\\old-GC.exe\\GC.exe", L"GC.exe"), L"D:\\old-GC.exe\\crashpost.exe");
}

TEST(CrashReporter, NoFileNameMeansNoReporter) {
    EXPECT_EQ(ReporterPathFor(L"C:\\Kestro\\", L""), L"");
    EXPECT_EQ(ReporterPathFor(L"C:\\Kestro\\KestroGC.exe", L"kestrogc.exe"), L"");
    EXPECT_EQ(ReporterPathFor(L"GC.exe", L"KestroGC.exe"), L"");
}

}  // namespace
}  // namespace kestro
