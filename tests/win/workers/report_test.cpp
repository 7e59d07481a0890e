#include <windows.h>

#include <gtest/gtest.h>

#include "setup/workers/utf8_path.h"
#include "worker_test_support.h"

namespace kestro {
namespace testing {
namespace {

// Statistics and feedback as the local stats-server received them.
class ReportTest : public WorkerTest {
protected:
    void SetUp() override {
        if (!StatsLogAvailable()) GTEST_SKIP() << "no local stats-server (a build configured with KESTRO_LOCAL_STATS)";
        WorkerTest::SetUp();
        ClearStatsRequests();
    }


    static std::vector<JValue> OfKind(const char* kind) {
        std::vector<JValue> found;
        for (const JValue& request : StatsRequests()) {
            if (request["kind"].AsText() == kind) found.push_back(request);
        }
        return found;
    }
};

TEST_F(ReportTest, AFreshInstallReportsOperation1WithoutAnErrorCode) {
    ASSERT_EQ(Install(WritePackage(L"setup.exe", PlainConfig(), StandardEntries())).Posted(), 0x8401);
    std::vector<JValue> sets = OfKind("set");
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0]["op"].AsInt(), 1);
    EXPECT_EQ(sets[0]["v"].AsInt(), 0);
    EXPECT_EQ(sets[0]["l"].AsInt(), 1);
    EXPECT_EQ(sets[0]["c"].AsInt(), 30123);
    EXPECT_EQ(sets[0]["md5"].AsText(), "");
    EXPECT_FALSE(sets[0].HasMember("e"));
    EXPECT_TRUE(OfKind("fb").empty());
}

TEST_F(ReportTest, AnInstallOverAnOlderOneReportsOperation3Once) {
    ASSERT_EQ(Install(WritePackage(L"setup.exe", PlainConfig(), StandardEntries())).Posted(), 0x8401);
    ClearStatsRequests();
    ASSERT_EQ(Install(WritePackage(L"setup2.exe", PlainConfig(), StandardEntries())).Posted(), 0x8401);
    std::vector<JValue> sets = OfKind("set");
    ASSERT_EQ(sets.size(), 1u);  // the removal of the older installation reports nothing
    EXPECT_EQ(sets[0]["op"].AsInt(), 3);
}

TEST_F(ReportTest, AFailedInstallReportsItsErrorCode) {
    std::vector<ZipEntry> entries = {{"ok.txt", "fine"}, {"../escape.txt", "refused"}};
    ASSERT_EQ(Install(WritePackage(L"setup.exe", PlainConfig(), entries)).Posted(), 0x8402);
    std::vector<JValue> sets = OfKind("set");
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0]["op"].AsInt(), 1);
    EXPECT_EQ(sets[0]["e"].AsInt(), 8);
}

TEST_F(ReportTest, AnUninstallReportsOperation2AndTheChosenReasons) {
    ASSERT_EQ(Install(WritePackage(L"setup.exe", PlainConfig(), StandardEntries())).Posted(), 0x8401);
    ClearStatsRequests();
    ASSERT_EQ(Uninstall(L"--reason 1 --reason 3 --text 游戏太卡了").Posted(), 0x8401);
    std::vector<JValue> sets = OfKind("set");
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0]["op"].AsInt(), 2);
    EXPECT_EQ(sets[0]["c"].AsInt(), 30123);
    std::vector<JValue> feedback = OfKind("fb");
    ASSERT_EQ(feedback.size(), 1u);
    ASSERT_EQ(feedback[0]["check"].Size(), 2u);
    EXPECT_EQ(feedback[0]["check"].At(0).AsInt(), 1);
    EXPECT_EQ(feedback[0]["check"].At(1).AsInt(), 3);
    ASSERT_EQ(feedback[0]["feedback"].Size(), 1u);
    EXPECT_EQ(WideFromUtf8(feedback[0]["feedback"].At(0).AsText()), L"游戏太卡了");
}

TEST_F(ReportTest, AnUninstallWithNothingChosenSendsNoFeedback) {
    ASSERT_EQ(Install(WritePackage(L"setup.exe", PlainConfig(), StandardEntries())).Posted(), 0x8401);
    ClearStatsRequests();
    ASSERT_EQ(Uninstall().Posted(), 0x8401);
    EXPECT_EQ(OfKind("set").size(), 1u);
    EXPECT_TRUE(OfKind("fb").empty());
}

}  // namespace
}  // namespace testing
}  // namespace kestro
