#include "services/config/statistics_endpoint.h"

#include <gtest/gtest.h>

#include "services/config/maker_addresses.h"

namespace kestro {
namespace {

TEST(StatisticsEndpoint, OverrideTextNamesAHostAndAPort) {
    StatisticsEndpoint e;
    ASSERT_TRUE(ParseStatisticsEndpoint("127.0.0.1:41234", e));
    EXPECT_EQ(e.host, L"127.0.0.1");
    EXPECT_EQ(e.port, 41234);
    ASSERT_TRUE(ParseStatisticsEndpoint("stats-local", e));
    EXPECT_EQ(e.host, L"stats-local");
    EXPECT_EQ(e.port, 80);
}

TEST(StatisticsEndpoint, MalformedOverrideTextIsIgnored) {
    StatisticsEndpoint e;
    for (const char* bad : {"", ":80", "host:", "host:0", "host:65536", "host:12ab", "ho st:80", "h/x:80", "host:80:1"})
        EXPECT_FALSE(ParseStatisticsEndpoint(bad, e)) << bad;
    EXPECT_FALSE(ParseStatisticsEndpoint(nullptr, e));
    int seconds = 7;
    for (const char* bad : {"", "0", "301", "1000", "-5", "5s", " 5", "2.5"})
        EXPECT_FALSE(ParseStatisticsTimeout(bad, seconds)) << bad;
    EXPECT_FALSE(ParseStatisticsTimeout(nullptr, seconds));
    EXPECT_EQ(seconds, 7);
    ASSERT_TRUE(ParseStatisticsTimeout("300", seconds));
    EXPECT_EQ(seconds, 300);
}

TEST(StatisticsEndpoint, WithoutTheVariableReportsGoToTheMakerOnPort80) {
    unsetenv("KESTRO_STATS_SERVER");
    StatisticsEndpoint e = GetStatisticsEndpoint();
    EXPECT_EQ(e.host, config::kStatisticsHost);
    EXPECT_EQ(e.port, 80);
}

TEST(StatisticsEndpoint, TheVariablesRedirectAndShortenOnlyWhereTheBuildAllowsIt) {
    setenv("KESTRO_STATS_SERVER", "127.0.0.1:5555", 1);
    setenv("KESTRO_STATS_TIMEOUT", "4", 1);
    StatisticsEndpoint e = GetStatisticsEndpoint();
    unsetenv("KESTRO_STATS_SERVER");
    StatisticsEndpoint timeoutOnly = GetStatisticsEndpoint();
    unsetenv("KESTRO_STATS_TIMEOUT");
    EXPECT_EQ(GetStatisticsEndpoint().timeoutSeconds, 0);
    if (StatisticsOverrideCompiledIn()) {
        EXPECT_EQ(e.host, L"127.0.0.1");
        EXPECT_EQ(e.port, 5555);
        EXPECT_EQ(e.timeoutSeconds, 4);
        EXPECT_EQ(timeoutOnly.host, config::kStatisticsHost);
        EXPECT_EQ(timeoutOnly.timeoutSeconds, 4);
    } else {
        EXPECT_EQ(e.host, config::kStatisticsHost);
        EXPECT_EQ(e.port, 80);
        EXPECT_EQ(e.timeoutSeconds, 0);
    }
}

}  // namespace
}  // namespace kestro
