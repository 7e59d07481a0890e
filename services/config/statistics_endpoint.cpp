#include "statistics_endpoint.h"

#include <cstdlib>
#ifdef _WIN32
#include <windows.h>
#endif

#include "services/config/maker_addresses.h"

namespace kestro {

bool ParseStatisticsEndpoint(const char* text, StatisticsEndpoint& out) {
    if (!text || !*text) return false;
    std::string s(text);
    size_t colon = s.find(':');
    std::string host = s.substr(0, colon);
    if (host.empty() || host.size() > 253) return false;
    for (char c : host)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-'))
            return false;
    unsigned long port = 80;
    if (colon != std::string::npos) {
        std::string digits = s.substr(colon + 1);
        if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos) return false;
        port = std::strtoul(digits.c_str(), nullptr, 10);
        if (port == 0 || port > 65535) return false;
    }
    out.host.assign(host.begin(), host.end());
    out.port = static_cast<unsigned short>(port);
    return true;
}

bool StatisticsOverrideCompiledIn() {
#ifdef KESTRO_LOCAL_STATS
    return true;
#else
    return false;
#endif
}

bool ParseStatisticsTimeout(const char* text, int& seconds) {
    if (!text || !*text) return false;
    std::string digits(text);
    if (digits.size() > 3 || digits.find_first_not_of("0123456789") != std::string::npos) return false;
    const int value = std::atoi(digits.c_str());
    if (value < 1 || value > 300) return false;
    seconds = value;
    return true;
}

#ifdef KESTRO_LOCAL_STATS
namespace {

// Read on every report, so a test can change it between requests.
std::string Variable(const char* name) {
#ifdef _WIN32
    // The process environment itself, not the C runtime's start-up copy.
    char value[300] = "";
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value) : std::string();
#else
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
#endif
}

}  // namespace
#endif

StatisticsEndpoint GetStatisticsEndpoint() {
    StatisticsEndpoint endpoint{config::kStatisticsHost, config::kStatisticsPort};
#ifdef KESTRO_LOCAL_STATS
    StatisticsEndpoint local;
    if (ParseStatisticsEndpoint(Variable("KESTRO_STATS_SERVER").c_str(), local)) endpoint = local;
    ParseStatisticsTimeout(Variable("KESTRO_STATS_TIMEOUT").c_str(), endpoint.timeoutSeconds);
#endif
    return endpoint;
}

}  // namespace kestro
