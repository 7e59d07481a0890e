#include "services/machine/machine_id.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "services/machine/machine_text.h"

namespace kestro {
namespace {

bool IsUpperHex(const std::string& text) { return text.find_first_not_of("0123456789ABCDEF") == std::string::npos; }

TEST(MachineId, FirmwareTableGivesTheSmbiosUuid) {
    // Wine's firmware table carries a type-1 structure with a UUID.
    std::string uuid = ReadSystemUuid(3);
    ASSERT_EQ(uuid.size(), 35u);
    EXPECT_EQ(uuid[8], '-');
    EXPECT_EQ(uuid[17], '-');
    EXPECT_EQ(uuid[26], '-');
}

TEST(MachineId, PhysicalMemoryModeRefusedHereGivesAnEmptyUuid) {
    // The section "\device\physicalmemory" does not exist under this system: no UUID, no crash.
    EXPECT_EQ(ReadSystemUuid(2), "");
    EXPECT_EQ(ReadSystemUuid(1), "");
}

TEST(MachineId, CpuAndAdapterTextsHaveTheirFormats) {
    std::string cpu = GetCpuIdString();
    ASSERT_EQ(cpu.size(), 33u);
    EXPECT_EQ(cpu[16], '-');
    EXPECT_TRUE(IsUpperHex(cpu.substr(0, 16) + cpu.substr(17)));
    std::string adapter = GetAdapterAddressString();
    EXPECT_EQ(adapter.size(), 12u);
    EXPECT_TRUE(IsUpperHex(adapter));
}

TEST(MachineId, IdIsTheDigestOfThePiecesAndStaysTheSame) {
    std::wstring id = GetMachineId();
    ASSERT_EQ(id.size(), 32u);
    std::string narrow(id.begin(), id.end());
    EXPECT_TRUE(IsUpperHex(narrow));
    EXPECT_EQ(GetMachineId(), id);
    EXPECT_EQ(narrow, MachineIdFromTexts(ReadSystemUuid(3), GetCpuIdString(), GetAdapterAddressString()));
}

}  // namespace
}  // namespace kestro
