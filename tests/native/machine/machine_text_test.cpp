#include "services/machine/machine_text.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

AdapterRecord Adapter(uint32_t index, uint32_t type, const std::string& description, uint8_t first) {
    AdapterRecord record;
    record.index = index;
    record.type = type;
    record.description = description;
    for (int i = 0; i < 6; ++i) record.address[i] = static_cast<uint8_t>(first + i);
    return record;
}

std::string Choose(const std::vector<AdapterRecord>& adapters, uint32_t serial = 0) {
    uint8_t out[6];
    ChooseAdapterAddress(adapters, serial, out);
    return FormatAdapterText(out);
}

TEST(AdapterChoice, WithoutAdaptersTheVolumeSerialStandsIn) {
    EXPECT_EQ(Choose({}, 0x1234ABCD), "CDAB34120000");
    EXPECT_EQ(Choose({}, 0), "000000000000");
}

TEST(AdapterChoice, EthernetBeatsWirelessAndSmallestIndexWins) {
    EXPECT_EQ(Choose({Adapter(3, 71, "Wireless", 0x30), Adapter(12, 6, "Intel Ethernet", 0x10)}), "101112131415");
    EXPECT_EQ(Choose({Adapter(7, 6, "A", 0x70), Adapter(5, 6, "B", 0x50)}), "505152535455");
    EXPECT_EQ(Choose({Adapter(9, 24, "Loopback", 0x90), Adapter(8, 71, "Wireless", 0x80)}), "808182838485");
    EXPECT_EQ(Choose({Adapter(9, 24, "Loopback", 0x90), Adapter(4, 23, "PPP", 0x40)}, 0x1234ABCD), "404142434445");
}

TEST(AdapterChoice, BluetoothEthernetOnlyWhenNothingElseFits) {
    AdapterRecord bluetooth = Adapter(1, 6, "Bluetooth Device (Personal Area Network)", 0xB0);
    EXPECT_EQ(Choose({bluetooth, Adapter(20, 71, "Wi-Fi", 0x20)}), "202122232425");
    EXPECT_EQ(Choose({bluetooth, Adapter(20, 6, "Realtek", 0x20)}), "202122232425");
    EXPECT_EQ(Choose({bluetooth}), "B0B1B2B3B4B5");
    // Case-sensitive, as on the machines whose ids are already known.
    EXPECT_EQ(Choose({Adapter(1, 6, "bluetooth pan", 0xC0), Adapter(20, 71, "Wi-Fi", 0x20)}), "C0C1C2C3C4C5");
}

TEST(MachineText, CpuTextPairsEdxThenEcx) {
    EXPECT_EQ(FormatCpuText(0xBFEBFBFF, 0x7FFAFBFF, 0, 0x1), "BFEBFBFF7FFAFBFF-0000000000000001");
    EXPECT_EQ(FormatCpuText(0, 0, 0, 0).size(), 33u);
}

// The expected ids are MD5 digests worked out with Python's hashlib (md5sum agrees)
// over the texts written in the comments.
TEST(MachineText, SyntheticMachinesHaveTheIdsWorkedOutByHand) {
    std::string cpu = FormatCpuText(0x178BFBFF, 0x7ED8320B, 0, 0);
    uint8_t address[6];
    ChooseAdapterAddress({}, 0x1234ABCD, address);
    // "30178BFBFF7ED8320B-0000000000000000CDAB34120000"
    EXPECT_EQ(MachineIdFromTexts("", cpu, FormatAdapterText(address)), "D933241D6D8C50AB32CF2609664E8DD5");
    // "3000112233-44556677-8899AABB-CCDDEEFFBFEBFBFF7FFAFBFF-0000000000000001505152535455"
    EXPECT_EQ(MachineIdFromTexts("00112233-44556677-8899AABB-CCDDEEFF", FormatCpuText(0xBFEBFBFF, 0x7FFAFBFF, 0, 1),
                                 Choose({Adapter(7, 6, "A", 0x70), Adapter(5, 6, "B", 0x50)})),
              "AC20B0FE09E3C53950675310D06CE773");
}

TEST(MachineText, ReadingModeFollowsTheSystemVersion) {
    EXPECT_EQ(FirmwareReadingModeFor(false, 4, 10), FirmwareReadingMode::None);
    EXPECT_EQ(FirmwareReadingModeFor(true, 5, 0), FirmwareReadingMode::PhysicalMemory);
    EXPECT_EQ(FirmwareReadingModeFor(true, 5, 1), FirmwareReadingMode::PhysicalMemory);
    EXPECT_EQ(FirmwareReadingModeFor(true, 5, 2), FirmwareReadingMode::FirmwareTable);
    EXPECT_EQ(FirmwareReadingModeFor(true, 6, 1), FirmwareReadingMode::FirmwareTable);
    EXPECT_EQ(FirmwareReadingModeFor(true, 10, 0), FirmwareReadingMode::FirmwareTable);
}

}  // namespace
}  // namespace kestro
