#include "fault_support.h"

#include <algorithm>
#include <cstdlib>

#include "services/base/utf8.h"
#include "setup/package/package_layout.h"

namespace kestro {
namespace testing {
namespace {

uint32_t At32(const std::string& bytes, size_t at) { return ReadLe32(reinterpret_cast<const unsigned char*>(&bytes[at])); }
uint32_t At16(const std::string& bytes, size_t at) {
    return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8;
}

}  // namespace

PackageRegions ReadRegions(const std::string& package) {
    PackageRegions r;
    r.lfanew = At32(package, kLfanewPosition);
    r.payload = At32(package, r.lfanew - 4);
    r.recordLength = At32(package, r.payload);
    r.archiveLength = At32(package, r.payload + 4 + r.recordLength);
    r.archive = r.payload + 8 + r.recordLength;
    // The archive has no comment: the end record is its last 22 bytes.
    r.endOfCentralDirectory = r.archive + r.archiveLength - 22;
    r.centralDirectory = r.archive + At32(package, r.endOfCentralDirectory + 16);
    const uint32_t entries = At16(package, r.endOfCentralDirectory + 10);
    uint32_t at = r.centralDirectory;
    for (uint32_t i = 0; i < entries; ++i) {
        const uint32_t local = r.archive + At32(package, at + 42);
        r.localHeaders.push_back(local);
        r.entryData.push_back(local + 30 + At16(package, local + 26) + At16(package, local + 28));
        at += 46 + At16(package, at + 28) + At16(package, at + 30) + At16(package, at + 32);
    }
    return r;
}

std::string FaultServer(const char* mode) {
    // Without the fixtures' folder this build may not redirect reports at all.
    const char* root = getenv("KESTRO_STATS_DIR");
    if (!root || !*root) return "";
    if (std::string(mode) == "down") return "127.0.0.1:9";  // nothing listens on the discard port
    std::wstring portFile = L"Z:" + WideFromUtf8(root) + L"\\fault_" + WideFromUtf8(mode) + L"\\port";
    for (wchar_t& c : portFile) {
        if (c == L'/') c = L'\\';
    }
    std::string port = ReadBytes(portFile);
    while (!port.empty() && (port.back() == '\n' || port.back() == '\r')) port.pop_back();
    return port.empty() ? "" : "127.0.0.1:" + port;
}

void UseStatsServer(const std::string& endpoint) {
    SetEnvironmentVariableA("KESTRO_STATS_SERVER", endpoint.c_str());
}

std::vector<std::wstring> TempFolderListing() {
    std::vector<std::wstring> names;
    for (const test::FolderEntry& entry : test::FindEntries(test::TempFolder() + L"*")) names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace testing
}  // namespace kestro
