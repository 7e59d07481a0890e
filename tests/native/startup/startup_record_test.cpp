#include "setup/startup/startup_record.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

StartupRecord Read(const char* text) {
    JValue v;
    EXPECT_TRUE(JValue::Parse(text, v));
    return ReadStartupRecord(&v);
}

TEST(StartupRecord, ARecordWithoutModeOrNoRecordIsRejected) {
    EXPECT_FALSE(ReadStartupRecord(nullptr).valid);
    EXPECT_FALSE(Read("{\"channel\":5}").valid);
    EXPECT_FALSE(Read("[1,2]").valid);
}

TEST(StartupRecord, ModeSelectsInstallerOrUninstaller) {
    auto uninstaller = Read("{\"mode\":0}");
    EXPECT_TRUE(uninstaller.valid);
    EXPECT_EQ(uninstaller.mode, 0);
    EXPECT_EQ(Read("{\"mode\":2}").mode, 2);
}

TEST(StartupRecord, DefaultsForChannelThemeAndQuiet) {
    auto r = Read("{\"mode\":1}");
    EXPECT_EQ(r.channel, 30001);
    EXPECT_EQ(r.theme, "default");
    EXPECT_FALSE(r.quiet);
    EXPECT_EQ(Read("{\"mode\":1,\"theme\":\"\"}").theme, "default");
    auto set = Read("{\"mode\":1,\"channel\":28012,\"theme\":\"Lumo\",\"quiet\":true}");
    EXPECT_EQ(set.channel, 28012);
    EXPECT_EQ(set.theme, "Lumo");
    EXPECT_TRUE(set.quiet);
}

TEST(SetupExitCode, QuietRunsReportFailureInteractiveRunsKeepZero) {
    EXPECT_EQ(SetupExitCode(SetupOutcome::Success, true, 0), 0);
    EXPECT_EQ(SetupExitCode(SetupOutcome::InstallFailed, true, 8), 8);
    EXPECT_EQ(SetupExitCode(SetupOutcome::InstallFailed, false, 8), 0);
    EXPECT_EQ(SetupExitCode(SetupOutcome::RecordRejected, true, 0), 9);
    EXPECT_EQ(SetupExitCode(SetupOutcome::RecordRejected, false, 0), 0);
    EXPECT_EQ(SetupExitCode(SetupOutcome::UninstallFailed, false, 0), 1);
    EXPECT_EQ(SetupExitCode(SetupOutcome::UninstallFailed, true, 0), 1);
}

}  // namespace
}  // namespace kestro
