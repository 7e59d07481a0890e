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
#include <string>

namespace kestro {

struct StatisticsEndpoint {
    std::wstring host;
    unsigned short port = 0;
};

// The maker's host and port, or the override described above.
StatisticsEndpoint GetStatisticsEndpoint();

// Reads "host:port" (or a bare host, port 80): an ASCII host of letters, digits,
// dots and hyphens, and a port 1..65535. False for anything else.
bool ParseStatisticsEndpoint(const char* text, StatisticsEndpoint& out);

// Whether this build honours KESTRO_STATS_SERVER at all.
bool StatisticsOverrideCompiledIn();

}  // namespace kestro
