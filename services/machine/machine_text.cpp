#include "services/machine/machine_text.h"

#include <cstdio>
#include <cstring>
#include <map>

#include "services/encoding/md5.h"

namespace kestro {

const char kMachinePlatformCode[] = "30";

namespace {
const uint32_t kEthernetType = 6;
const uint32_t kWirelessType = 71;
}  // namespace

FirmwareReadingMode FirmwareReadingModeFor(bool ntFamily, unsigned major, unsigned minor) {
    if (!ntFamily) return FirmwareReadingMode::None;
    if (major <= 5 && minor <= 1) return FirmwareReadingMode::PhysicalMemory;
    return FirmwareReadingMode::FirmwareTable;
}

std::string FormatCpuText(uint32_t edx1, uint32_t ecx1, uint32_t edx3, uint32_t ecx3) {
    char text[40];
    std::snprintf(text, sizeof(text), "%08X%08X-%08X%08X", static_cast<unsigned>(edx1), static_cast<unsigned>(ecx1),
                  static_cast<unsigned>(edx3), static_cast<unsigned>(ecx3));
    return text;
}

void ChooseAdapterAddress(const std::vector<AdapterRecord>& adapters, uint32_t volumeSerial, uint8_t out[6]) {
    std::map<uint32_t, const AdapterRecord*> groups[3];
    for (const AdapterRecord& adapter : adapters) {
        int group = 2;
        if (adapter.type == kEthernetType && adapter.description.find("Bluetooth") == std::string::npos) {
            group = 0;
        } else if (adapter.type == kWirelessType) {
            group = 1;
        }
        groups[group].emplace(adapter.index, &adapter);
    }
    for (const auto& group : groups) {
        if (!group.empty()) {
            std::memcpy(out, group.begin()->second->address, 6);
            return;
        }
    }
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(volumeSerial >> (8 * i));
    out[4] = out[5] = 0;
}

std::string FormatAdapterText(const uint8_t a[6]) {
    char text[16];
    std::snprintf(text, sizeof(text), "%02X%02X%02X%02X%02X%02X", a[0], a[1], a[2], a[3], a[4], a[5]);
    return text;
}

std::string MachineIdFromTexts(const std::string& uuid, const std::string& cpu, const std::string& adapter) {
    std::string text = kMachinePlatformCode + uuid + cpu + adapter;
    return Md5Hex(text.data(), text.size());
}

}  // namespace kestro
