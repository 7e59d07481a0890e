// The statistics server down, silent, slow or answering garbage: the install still
// completes, and no later than the agent's waits allow (30 seconds each; the silent
// server's case sets them shorter through the test builds' KESTRO_STATS_TIMEOUT).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "fault_support.h"
#include "setup/workers/product_names.h"

namespace kestro {
namespace testing {
namespace {

// The agent's wait for the silent server: long enough that the slow server's answer
// would come well inside it, short enough not to cost the test run half a minute.
constexpr DWORD kSilentTimeoutSeconds = 5;
// One socket wait of the agent, plus room for Wine on a loaded machine.
constexpr DWORD kAgentTimeoutMs = 30000;
constexpr DWORD kInstallAllowanceMs = 25000;
// tests/win/faults/CMakeLists.txt starts the slow server with this delay.
constexpr DWORD kSlowServerDelayMs = 3000;

bool Silent(const char* mode) { return std::string(mode) == "silent"; }

class StatsServerFault : public WorkerTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        endpoint_ = FaultServer(GetParam());
        if (endpoint_.empty())
            GTEST_SKIP() << "no stats-server in that mode (the CTest fixtures fault_<mode> start them)";
        char saved[128] = "";
        GetEnvironmentVariableA("KESTRO_STATS_SERVER", saved, sizeof saved);
        saved_ = saved;
        WorkerTest::SetUp();
        UseStatsServer(endpoint_);
        if (Silent(GetParam()))
            SetEnvironmentVariableA("KESTRO_STATS_TIMEOUT", std::to_string(kSilentTimeoutSeconds).c_str());
    }
    void TearDown() override {
        SetEnvironmentVariableA("KESTRO_STATS_TIMEOUT", nullptr);
        UseStatsServer(saved_);
        WorkerTest::TearDown();
    }

    // The longest one wait of the agent may take in this mode.
    DWORD AgentTimeoutMs() const { return Silent(GetParam()) ? kSilentTimeoutSeconds * 1000 : kAgentTimeoutMs; }

    std::string endpoint_, saved_;
};

TEST_P(StatsServerFault, TheInstallCompletesWithinTheAgentsTimeouts) {
    std::wstring package = WritePackage(L"setup.exe", PlainConfig(), StandardEntries());
    const DWORD started = GetTickCount();
    DriverResult result = Install(package);
    const DWORD elapsed = GetTickCount() - started;
    EXPECT_EQ(result.Posted(), 0x8401);
    EXPECT_EQ(result.json["postCount"].AsInt(), 1);
    EXPECT_TRUE(Exists(Target(L"res\\sub\\deep.txt")));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kProductUninstallKey));
    EXPECT_LT(elapsed, AgentTimeoutMs() + kInstallAllowanceMs);
    // The report did reach the server and wait for it.
    if (std::string(GetParam()) == "slow") {
        EXPECT_GE(elapsed, kSlowServerDelayMs);
    }
    if (Silent(GetParam())) {
        EXPECT_GE(elapsed, AgentTimeoutMs() - 1000);
    }
    SetEnvironmentVariableA("KESTRO_STATS_TIMEOUT", nullptr);
    UseStatsServer(saved_);
    EXPECT_EQ(Uninstall().exitCode, 0u);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductUninstallKey));
}

INSTANTIATE_TEST_SUITE_P(Modes, StatsServerFault, ::testing::Values("down", "garbage", "slow", "silent"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
}  // namespace testing
}  // namespace kestro
