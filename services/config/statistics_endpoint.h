#pragma once
// Where the statistics and feedback reports go.
//
// A release build always uses the maker's host on port 80 (maker_addresses.h).
// Tests and the demo need their reports at the local stats-server instead. That
// redirection exists only in builds configured with -DKESTRO_LOCAL_STATS=ON
// (scripts/test.sh and the demo do so; CMake refuses the option for a Release
// build), and even there it acts only while the environment variable
// KESTRO_STATS_SERVER holds "host:port". So no setting on a user's machine, and
// no build made without that explicit option, can send reports anywhere else:
// the code that reads the variable is simply not compiled in.
//
// The same builds let KESTRO_STATS_TIMEOUT=SECONDS (1..300) shorten or lengthen the
// agent's waits for a report, so a test of a server that never answers waits a few
// seconds instead of the agent's 30.
#include <string>

namespace kestro {

struct StatisticsEndpoint {
    std::wstring host;
    unsigned short port = 0;
    int timeoutSeconds = 0;  // 0: the agent's own time-out
};

// The maker's host and port, or the override described above.
StatisticsEndpoint GetStatisticsEndpoint();

// Reads "host:port" (or a bare host, port 80): an ASCII host of letters, digits,
// dots and hyphens, and a port 1..65535. False for anything else.
bool ParseStatisticsEndpoint(const char* text, StatisticsEndpoint& out);

// Reads a whole number of seconds, 1..300; false for anything else.
bool ParseStatisticsTimeout(const char* text, int& seconds);

// Whether this build honours KESTRO_STATS_SERVER and KESTRO_STATS_TIMEOUT at all.
bool StatisticsOverrideCompiledIn();

}  // namespace kestro
