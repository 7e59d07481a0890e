#pragma once
// What the fault tests add to the worker tests' support: the layout of a package they
// damage, the statistics servers the wrapper script starts in their failure modes,
// and a look at the temporary folder.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "worker_test_support.h"

namespace kestro {
namespace testing {

// Region boundaries of an installer package and of its ZIP archive.
struct PackageRegions {
    uint32_t lfanew = 0;        // the PE signature; the offset field sits 4 bytes before it
    uint32_t payload = 0;       // O: the record length field
    uint32_t recordLength = 0;  // R
    uint32_t archive = 0;       // O + 8 + R: the first byte of the ZIP archive
    uint32_t archiveLength = 0; // Z
    uint32_t centralDirectory = 0;   // file offset of the first central directory header
    uint32_t endOfCentralDirectory = 0;
    std::vector<uint32_t> localHeaders;  // file offset of each entry's local header
    std::vector<uint32_t> entryData;     // file offset of each entry's data
};
PackageRegions ReadRegions(const std::string& package);

// "host:port" of a stats-server in a failure mode ("garbage", "slow", "silent": the
// CTest fixtures fault_<mode>; "down": a port nobody listens on), or empty when the
// build starts no stats-servers.
std::string FaultServer(const char* mode);
// Points this process's reports, and those of the programs it starts, at `endpoint`.
void UseStatsServer(const std::string& endpoint);

// Names in the temporary folder, sorted.
std::vector<std::wstring> TempFolderListing();

}  // namespace testing
}  // namespace kestro
