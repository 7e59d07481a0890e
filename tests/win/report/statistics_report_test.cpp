// The reports against real stats-server processes on loopback (started by CTest
// fixtures, one per reply behaviour), through the real HTTP agent under Wine.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "services/config/statistics_endpoint.h"
#include "services/config/maker_addresses.h"
#include "services/json/jvalue.h"
#include "services/machine/machine_id.h"
#include "services/report/statistics_report.h"
#include "services/report/statistics_request.h"
#include "services/win/unique_handle.h"

namespace kestro {
namespace {

using Clock = std::chrono::steady_clock;

std::string ServerFolder(const std::string& name) {
    const char* root = std::getenv("KESTRO_STATS_DIR");
    std::string path = std::string("Z:") + (root ? root : "/nonexistent") + "/" + name;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

int ServerPort(const std::string& name) {
    std::ifstream f(ServerFolder(name) + "\\port");
    int port = 0;
    f >> port;
    return port;
}

std::vector<JValue> Records(const std::string& name) {
    std::ifstream f(ServerFolder(name) + "\\requests.log");
    std::vector<JValue> records;
    for (std::string line; std::getline(f, line);) {
        JValue v;
        if (JValue::Parse(line, v)) records.push_back(v);
    }
    return records;
}

void PointAt(int port) {
    SetEnvironmentVariableA("KESTRO_STATS_SERVER", ("127.0.0.1:" + std::to_string(port)).c_str());
}

std::string MachineId() {
    std::wstring id = GetMachineId();
    return std::string(id.begin(), id.end());
}

class StatisticsReport : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(StatisticsOverrideCompiledIn()) << "configure with -DKESTRO_LOCAL_STATS=ON";
        okPort_ = ServerPort("ok");
        ASSERT_GT(okPort_, 0) << "no stats-server under " << ServerFolder("ok");
        PointAt(okPort_);
    }
    void TearDown() override { SetEnvironmentVariableA("KESTRO_STATS_SERVER", nullptr); }

    // The one record a report added to the "ok" server's log.
    JValue OnlyNewRecord(size_t before) {
        std::vector<JValue> after = Records("ok");
        EXPECT_EQ(after.size(), before + 1);
        return after.empty() ? JValue() : after.back();
    }

    int okPort_ = 0;
};

TEST_F(StatisticsReport, AFreshInstallSendsTheExactTargetWithNothingAfterMd5) {
    size_t before = Records("ok").size();
    ReportOperation(1, 0, 30001, 1, "", 0);
    JValue r = OnlyNewRecord(before);
    EXPECT_EQ(r["target"].AsText(), "/clt_v2_set?machid=" + MachineId() + "&plat=30&op=1&v=0&l=1&c=30001&md5=");
    EXPECT_EQ(r["status"].AsInt(), 200) << r["error"].AsText();
    EXPECT_EQ(r["host"].AsText(), "127.0.0.1");
    EXPECT_EQ(r["user_agent"].AsText(), "CHttpAgent");
    EXPECT_EQ(r["accept"].AsText(), "*/*");
}

TEST_F(StatisticsReport, AFailedInstallEndsWithItsErrorCode) {
    size_t before = Records("ok").size();
    ReportOperation(3, 2147, 28012, 1, "", 8);
    JValue r = OnlyNewRecord(before);
    std::string target = r["target"].AsText();
    EXPECT_NE(target.find("&op=3&v=2147&l=1&c=28012&"), std::string::npos) << target;
    ASSERT_GE(target.size(), 9u);
    EXPECT_EQ(target.substr(target.size() - 9), "&md5=&e=8");
    EXPECT_EQ(r["e"].AsInt(), 8);
}

TEST_F(StatisticsReport, FeedbackOfReasonBoxesOneAndThreeIsTheBase64OfTheCompactJson) {
    size_t before = Records("ok").size();
    SendUninstallFeedback({1, 3}, {});
    JValue r = OnlyNewRecord(before);
    EXPECT_EQ(r["kind"].AsText(), "fb");
    EXPECT_EQ(r["fb_text"].AsText(), "{\"check\":[1,3]}\n");
    EXPECT_EQ(r["fb"].AsText(), "eyJjaGVjayI6WzEsM119Cg==");
    EXPECT_EQ(r["target"].AsText(), "/clt_v2_fb?machid=" + MachineId() + "&plat=30&fb=eyJjaGVjayI6WzEsM119Cg==");
}

TEST_F(StatisticsReport, NothingChosenSendsNoFeedbackRequest) {
    size_t before = Records("ok").size();
    SendUninstallFeedback({}, {});
    ReportOperation(2, 0, 30001, 1, "", 0);  // a request after it, so a late one would show
    std::vector<JValue> after = Records("ok");
    ASSERT_EQ(after.size(), before + 1);
    EXPECT_EQ(after.back()["kind"].AsText(), "set");
}

TEST_F(StatisticsReport, ChineseFeedbackTextSurvivesTheRoundTrip) {
    size_t before = Records("ok").size();
    SendUninstallFeedback({2, 5}, {L"太卡了，广告太多 \"引号\" +/="});
    JValue r = OnlyNewRecord(before);
    ASSERT_EQ(r["status"].AsInt(), 200) << r["error"].AsText();
    EXPECT_EQ(r["feedback"].At(0).AsText(), "太卡了，广告太多 \"引号\" +/=");
    EXPECT_EQ(r["check"].At(1).AsInt(), 5);
}

TEST_F(StatisticsReport, RepliesAreCheckedForForm) {
    std::string path = FormatOperationPath(MachineId(), 1, 0, 1, 30001, "", 0);
    struct Case {
        const char* server;
        bool accepted;
    } cases[] = {{"ok", true}, {"empty", true}, {"zero", false}, {"notzlib", false}, {"status500", false}, {"close", false}};
    for (const Case& c : cases) {
        int port = ServerPort(c.server);
        ASSERT_GT(port, 0) << c.server;
        size_t before = Records(c.server).size();
        PointAt(port);
        EXPECT_EQ(RequestStatistics(path), c.accepted) << c.server;
        EXPECT_EQ(Records(c.server).size(), before + 1) << c.server << " never saw the request";
    }
}

TEST_F(StatisticsReport, AnUnreachableServerCostsNoWaitAndNothingElse) {
    // A port nobody listens on: take a free one and let it go.
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    sockaddr_in addr = {};
    {
        UniqueSocket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(bind(s.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        int len = sizeof addr;
        getsockname(s.get(), reinterpret_cast<sockaddr*>(&addr), &len);
    }
    WSACleanup();
    size_t before = Records("ok").size();
    PointAt(ntohs(addr.sin_port));
    auto start = Clock::now();
    ReportOperation(1, 0, 30001, 1, "", 0);
    SendUninstallFeedback({1}, {L"x"});
    EXPECT_FALSE(RequestStatistics("/clt_v2_set"));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(Records("ok").size(), before);
}

TEST_F(StatisticsReport, ASilentServerCostsTheAgentsTimeOutAndNoMore) {
    int port = ServerPort("silent");
    ASSERT_GT(port, 0);
    size_t before = Records("silent").size();
    PointAt(port);
    // The test builds' setting of the agent's wait, in place of its 30 seconds.
    SetEnvironmentVariableA("KESTRO_STATS_TIMEOUT", "5");
    auto start = Clock::now();
    ReportOperation(2, 0, 30001, 1, "", 0);
    auto took = Clock::now() - start;
    SetEnvironmentVariableA("KESTRO_STATS_TIMEOUT", nullptr);
    EXPECT_EQ(Records("silent").size(), before + 1);
    // The agent waits for a reply once: a second wait would take it past 10 seconds.
    EXPECT_GE(took, std::chrono::milliseconds(4900));
    EXPECT_LT(took, std::chrono::milliseconds(9500));
}

TEST(StatisticsEndpointUnderWine, WithoutTheVariableReportsGoToTheMakersHostOnPort80) {
    SetEnvironmentVariableA("KESTRO_STATS_SERVER", nullptr);
    StatisticsEndpoint e = GetStatisticsEndpoint();
    EXPECT_EQ(e.host, config::kStatisticsHost);
    EXPECT_EQ(e.port, 80);
    SetEnvironmentVariableA("KESTRO_STATS_SERVER", "127.0.0.1:9");
    EXPECT_EQ(GetStatisticsEndpoint().port, StatisticsOverrideCompiledIn() ? 9 : 80);
    SetEnvironmentVariableA("KESTRO_STATS_SERVER", nullptr);
}

}  // namespace
}  // namespace kestro
