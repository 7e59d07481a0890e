#include <windows.h>

#include <gtest/gtest.h>

#include "services/base/utf8.h"
#include "services/machine/machine_id.h"
#include "setup/workers/product_names.h"
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

// Every source of the op-2 report holds its own value: channel 30123 in the package,
// 30456 in the user's key; build 2147 as the launcher's "PrivateBuild" (its other
// version texts say 3134 and 2.1.4.7), 4321 in the uninstall key.
TEST_F(ReportTest, AnUninstallReportsOperation2AndTheChosenReasons) {
    std::vector<ZipEntry> entries = StandardEntries();
    entries[0] = {"KestroGC.exe", ReadBytes(BinFolder() + L"\\kestro_shell_fixture.exe")};
    ASSERT_EQ(Install(WritePackage(L"setup.exe", PlainConfig(), entries)).Posted(), 0x8401);
    SetNumberValue(HKEY_CURRENT_USER, kProductUserKey, L"Channel", 30456);
    SetNumberValue(HKEY_LOCAL_MACHINE, kProductUninstallKey, L"Version", 4321);
    ClearStatsRequests();
    ASSERT_EQ(Uninstall(L"--reason 1 --reason 3 --text 游戏太卡了").Posted(), 0x8401);
    std::wstring wideId = GetMachineId();
    std::string id(wideId.begin(), wideId.end());
    std::vector<JValue> sets = OfKind("set");
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0]["target"].AsText(), "/clt_v2_set?machid=" + id + "&plat=30&op=2&v=2147&l=1&c=30456&md5=");
    EXPECT_EQ(sets[0]["machid"].AsText(), id);
    EXPECT_EQ(sets[0]["op"].AsInt(), 2);
    EXPECT_EQ(sets[0]["v"].AsInt(), 2147);
    EXPECT_EQ(sets[0]["l"].AsInt(), 1);
    EXPECT_EQ(sets[0]["c"].AsInt(), 30456);
    EXPECT_EQ(sets[0]["md5"].AsText(), "");
    EXPECT_FALSE(sets[0].HasMember("e"));
    std::vector<JValue> feedback = OfKind("fb");
    ASSERT_EQ(feedback.size(), 1u);
    // The Base64 text was worked out with Python's base64 module; "+" and "/" stay literal.
    const std::string fb = "eyJjaGVjayI6WzEsM10sImZlZWRiYWNrIjpbIua4uOaIj+WkquWNoeS6hiJdfQo=";
    EXPECT_EQ(feedback[0]["target"].AsText(), "/clt_v2_fb?machid=" + id + "&plat=30&fb=" + fb);
    EXPECT_EQ(feedback[0]["machid"].AsText(), id);
    EXPECT_EQ(feedback[0]["fb"].AsText(), fb);
    EXPECT_EQ(feedback[0]["fb_text"].AsText(), "{\"check\":[1,3],\"feedback\":[\"游戏太卡了\"]}\n");
    ASSERT_EQ(feedback[0]["check"].Size(), 2u);
    EXPECT_EQ(feedback[0]["check"].At(0).AsInt(), 1);
    EXPECT_EQ(feedback[0]["check"].At(1).AsInt(), 3);
    ASSERT_EQ(feedback[0]["feedback"].Size(), 1u);
    EXPECT_EQ(WideFromUtf8(feedback[0]["feedback"].At(0).AsText()), L"游戏太卡了");
}

// Without a "PrivateBuild" in the launcher the uninstall key's build is reported.
TEST_F(ReportTest, AnUninstallWithNothingChosenSendsNoFeedback) {
    ASSERT_EQ(Install(WritePackage(L"setup.exe", PlainConfig(), StandardEntries())).Posted(), 0x8401);
    SetNumberValue(HKEY_LOCAL_MACHINE, kProductUninstallKey, L"Version", 4321);
    ClearStatsRequests();
    ASSERT_EQ(Uninstall().Posted(), 0x8401);
    std::vector<JValue> sets = OfKind("set");
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0]["v"].AsInt(), 4321);
    EXPECT_EQ(sets[0]["c"].AsInt(), 30123);
    EXPECT_TRUE(OfKind("fb").empty());
}

}  // namespace
}  // namespace testing
}  // namespace kestro
