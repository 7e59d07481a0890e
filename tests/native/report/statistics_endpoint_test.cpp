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
}

TEST(StatisticsEndpoint, WithoutTheVariableReportsGoToTheMakerOnPort80) {
    unsetenv("KESTRO_STATS_SERVER");
    StatisticsEndpoint e = GetStatisticsEndpoint();
    EXPECT_EQ(e.host, config::kStatisticsHost);
    EXPECT_EQ(e.port, 80);
}

TEST(StatisticsEndpoint, TheVariableRedirectsOnlyWhereTheBuildAllowsIt) {
    setenv("KESTRO_STATS_SERVER", "127.0.0.1:5555", 1);
    StatisticsEndpoint e = GetStatisticsEndpoint();
    unsetenv("KESTRO_STATS_SERVER");
    if (StatisticsOverrideCompiledIn()) {
        EXPECT_EQ(e.host, L"127.0.0.1");
        EXPECT_EQ(e.port, 5555);
    } else {
        EXPECT_EQ(e.host, config::kStatisticsHost);
        EXPECT_EQ(e.port, 80);
    }
}

}  // namespace
}  // namespace kestro
