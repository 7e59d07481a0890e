#pragma once
// The texts the machine id is made of, and the id itself.
#include <cstdint>
#include <string>
#include <vector>

namespace kestro {

// Platform code leading the id's text; the same as "plat=30" in the report URLs.
extern const char kMachinePlatformCode[];

// How the SMBIOS UUID is read: 1 none (not NT), 2 physical memory (NT 5.0, 5.1),
// 3 firmware table interface (later NT).
enum class FirmwareReadingMode { None = 1, PhysicalMemory = 2, FirmwareTable = 3 };
FirmwareReadingMode FirmwareReadingModeFor(bool ntFamily, unsigned major, unsigned minor);

// "%08X%08X-%08X%08X" of EDX and ECX of CPUID leaf 1, then of leaf 3.
std::string FormatCpuText(uint32_t edx1, uint32_t ecx1, uint32_t edx3, uint32_t ecx3);

struct AdapterRecord {
    uint32_t index = 0;
    uint32_t type = 0;  // 6 Ethernet, 71 IEEE 802.11
    std::string description;
    uint8_t address[6] = {};
};

// The 6 bytes that stand for the machine's network address: the Ethernet adapter (not
// Bluetooth) with the smallest index, else the wireless one, else any other; without
// adapters the volume serial (least significant byte first) padded with zeros.
void ChooseAdapterAddress(const std::vector<AdapterRecord>& adapters, uint32_t volumeSerial, uint8_t out[6]);
std::string FormatAdapterText(const uint8_t address[6]);

// 32 upper-case hexadecimal digits: MD5 of the platform code and the three texts.
std::string MachineIdFromTexts(const std::string& uuid, const std::string& cpu, const std::string& adapter);

}  // namespace kestro
