#include "services/report/statistics_request.h"

#include <gtest/gtest.h>

#include "services/encoding/base64.h"
#include "tools/stats-server/stats_protocol.h"

namespace kestro {
namespace {

const std::string kMachid = "00112233445566778899AABBCCDDEEFF";

TEST(StatisticsRequest, FreshInstallOnTheDefaultChannelEndsRightAfterMd5) {
    EXPECT_EQ(FormatOperationPath(kMachid, 1, 0, 1, 30001, "", 0),
              "/clt_v2_set?machid=00112233445566778899AABBCCDDEEFF&plat=30&op=1&v=0&l=1&c=30001&md5=");
}

TEST(StatisticsRequest, AFailedInstallAppendsItsErrorCode) {
    EXPECT_EQ(FormatOperationPath(kMachid, 3, 2147, 1, 28012, "", 8),
              "/clt_v2_set?machid=00112233445566778899AABBCCDDEEFF&plat=30&op=3&v=2147&l=1&c=28012&md5=&e=8");
    std::string negative = FormatOperationPath(kMachid, 2, -1, 1, -30001, "", -2);
    EXPECT_NE(negative.find("&v=-1&l=1&c=-30001&md5=&e=-2"), std::string::npos);
}

TEST(StatisticsRequest, Md5TextCannotBreakTheRequestLine) {
    std::string digest = FormatOperationPath(kMachid, 1, 0, 1, 1, "d41d8cd98f00b204e9800998ecf8427e", 0);
    EXPECT_EQ(digest.substr(digest.size() - 36), "md5=d41d8cd98f00b204e9800998ecf8427e");
    std::string hostile = FormatOperationPath(kMachid, 1, 0, 1, 1, "a b\r\nX: y&e=1", 0);
    EXPECT_EQ(hostile.find_first_of(" \r\n"), std::string::npos);
    EXPECT_NE(hostile.find("md5=a%20b%0D%0AX%3A%20y%26e%3D1"), std::string::npos);
}

TEST(StatisticsRequest, FeedbackJsonHoldsOnlyTheListsThatHaveEntries) {
    EXPECT_EQ(BuildFeedbackJson({1, 3}, {}), "{\"check\":[1,3]}\n");
    EXPECT_EQ(BuildFeedbackJson({}, {"太卡了"}), "{\"feedback\":[\"太卡了\"]}\n");
    EXPECT_EQ(BuildFeedbackJson({5}, {"a \"quoted\" text"}), "{\"check\":[5],\"feedback\":[\"a \\\"quoted\\\" text\"]}\n");
    EXPECT_EQ(BuildFeedbackJson({}, {}), "");
}

TEST(StatisticsRequest, FeedbackPathCarriesTheBase64OfTheJsonUnescaped) {
    std::string path = FormatFeedbackPath(kMachid, BuildFeedbackJson({1, 3}, {}));
    EXPECT_EQ(path, "/clt_v2_fb?machid=00112233445566778899AABBCCDDEEFF&plat=30&fb=eyJjaGVjayI6WzEsM119Cg==");
    std::string literal = FormatFeedbackPath(kMachid, BuildFeedbackJson({}, {"?>>>"}));
    EXPECT_NE(literal.find("fb=eyJmZWVkYmFjayI6WyI/Pj4+Il19Cg=="), std::string::npos);
}

TEST(StatisticsRequest, TheLocalServerAcceptsWhatTheClientBuilds) {
    // The server's own checks, so client and server cannot drift apart unnoticed.
    stats::TargetVerdict set = stats::JudgeTarget(FormatOperationPath(kMachid, 1, 0, 1, 30001, "", 8));
    EXPECT_EQ(set.status, 200) << set.record.WriteCompact();
    EXPECT_EQ(set.record["e"].AsInt(), 8);
    stats::TargetVerdict fb = stats::JudgeTarget(FormatFeedbackPath(kMachid, BuildFeedbackJson({2, 4}, {"不想玩了", "x"})));
    ASSERT_EQ(fb.status, 200) << fb.record.WriteCompact();
    EXPECT_EQ(fb.record["feedback"].At(0).AsText(), "不想玩了");
    EXPECT_EQ(fb.record["check"].At(1).AsInt(), 4);
}

}  // namespace
}  // namespace kestro
