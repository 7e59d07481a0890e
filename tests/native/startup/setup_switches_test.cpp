#include "setup/startup/argument_quoting.h"
#include "setup/startup/setup_switches.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

TEST(SetupSwitches, ExactCaseSensitiveSwitches) {
    auto s = ParseSetupSwitches({L"C:\\setup.exe", L"/q", L"/update"});
    EXPECT_TRUE(s.quiet);
    EXPECT_TRUE(s.update);
    EXPECT_FALSE(s.hasBaseFolder);
    auto upper = ParseSetupSwitches({L"setup.exe", L"/Q", L"/UPDATE", L"/d", L"X:\\"});
    EXPECT_FALSE(upper.quiet);
    EXPECT_FALSE(upper.update);
    EXPECT_FALSE(upper.hasBaseFolder);
}

TEST(SetupSwitches, BaseFolderFollowsSlashDAndATrailingSlashDIsIgnored) {
    auto s = ParseSetupSwitches({L"setup.exe", L"/D", L"C:\\My Games"});
    EXPECT_TRUE(s.hasBaseFolder);
    EXPECT_EQ(s.baseFolder, L"C:\\My Games");
    auto trailing = ParseSetupSwitches({L"setup.exe", L"/q", L"/D"});
    EXPECT_FALSE(trailing.hasBaseFolder);
    EXPECT_TRUE(trailing.quiet);
}

TEST(SetupSwitches, TheProgramPathItselfIsTestedToo) {
    EXPECT_TRUE(ParseSetupSwitches({L"/q"}).quiet);
}

TEST(ArgumentQuoting, PlainArgumentsStayAsTheyAre) {
    EXPECT_EQ(QuoteArgument(L"/q"), L"/q");
    EXPECT_EQ(QuoteArgument(L"C:\\Games\\"), L"C:\\Games\\");
}

TEST(ArgumentQuoting, BlanksQuotesAndTrailingBackslashes) {
    EXPECT_EQ(QuoteArgument(L""), L"\"\"");
    EXPECT_EQ(QuoteArgument(L"D:\\My Games"), L"\"D:\\My Games\"");
    EXPECT_EQ(QuoteArgument(L"D:\\My Games\\"), L"\"D:\\My Games\\\\\"");
    EXPECT_EQ(QuoteArgument(L"say \"hi\""), L"\"say \\\"hi\\\"\"");
    EXPECT_EQ(QuoteArgument(L"a\\\"b c"), L"\"a\\\\\\\"b c\"");
}

TEST(ArgumentQuoting, RestartParametersSkipTheProgramAndQuoteEachArgument) {
    EXPECT_EQ(BuildRestartParameters({L"C:\\Temp\\setup.exe", L"/D", L"D:\\My Games", L"/q"}),
              L" /D \"D:\\My Games\" /q");
    EXPECT_EQ(BuildRestartParameters({L"setup.exe"}), L"");
}

}  // namespace
}  // namespace kestro
