#include "services/machine/smbios.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestro {
namespace {

// A structure: type, formatted length, handle, body bytes up to the formatted length, strings.
void AddStructure(std::vector<uint8_t>& table, uint8_t type, uint8_t formattedLength, const std::vector<uint8_t>& body,
                  const std::string& strings = "") {
    size_t start = table.size();
    table.push_back(type);
    table.push_back(formattedLength);
    table.push_back(0);
    table.push_back(0);
    table.insert(table.end(), body.begin(), body.end());
    table.resize(start + formattedLength, 0);
    if (strings.empty()) {
        table.push_back(0);
    } else {
        table.insert(table.end(), strings.begin(), strings.end());
        table.push_back(0);
    }
    table.push_back(0);
}

std::vector<uint8_t> UuidBody() {
    std::vector<uint8_t> body(4, 0x01);  // manufacturer, product, version, serial string numbers
    for (int i = 0; i < 16; ++i) body.push_back(static_cast<uint8_t>(i * 0x11));
    return body;
}

TEST(Smbios, UuidIsFormattedInStoredOrderInGroupsOfFour) {
    uint8_t bytes[16];
    for (int i = 0; i < 16; ++i) bytes[i] = static_cast<uint8_t>(i * 0x11);
    EXPECT_EQ(FormatSystemUuid(bytes), "00112233-44556677-8899AABB-CCDDEEFF");
}

TEST(Smbios, WalkFindsTheSystemInformationStructureAfterOthers) {
    std::vector<uint8_t> table;
    AddStructure(table, 0, 0x18, {1, 2, 3}, "BIOS Vendor\0v1.0");
    AddStructure(table, 1, 0x1B, UuidBody(), "Maker\0Product");
    AddStructure(table, 127, 4, {});
    EXPECT_EQ(CountSmbiosStructures(table.data(), table.size()), 3);
    EXPECT_EQ(FindSystemUuid(table.data(), table.size(), 3), "00112233-44556677-8899AABB-CCDDEEFF");
    EXPECT_EQ(FindSystemUuid(table.data(), table.size(), 1), "");
}

TEST(Smbios, ShortTypeOneAndBrokenLengthsGiveNoUuid) {
    std::vector<uint8_t> shortOne;
    AddStructure(shortOne, 1, 24, UuidBody());
    EXPECT_EQ(FindSystemUuid(shortOne.data(), shortOne.size(), 1), "");

    std::vector<uint8_t> zeroLength;
    AddStructure(zeroLength, 0, 0x18, {});
    zeroLength.push_back(1);
    zeroLength.push_back(0);
    AddStructure(zeroLength, 1, 0x1B, UuidBody());
    EXPECT_EQ(FindSystemUuid(zeroLength.data(), zeroLength.size(), 5), "");
}

TEST(Smbios, TruncatedTypeOneIsNotReadPastTheBytesHeld) {
    std::vector<uint8_t> table;
    AddStructure(table, 1, 0x1B, UuidBody());
    for (size_t held = 0; held < 0x1B; ++held) {
        std::vector<uint8_t> cut(table.begin(), table.begin() + held);
        EXPECT_EQ(FindSystemUuid(cut.data(), cut.size(), 1), "") << held;
        EXPECT_LE(CountSmbiosStructures(cut.data(), cut.size()), 1);
    }
}

TEST(Smbios, RawTableLengthFieldIsBoundedByTheBytesReturned) {
    std::vector<uint8_t> raw = {0, 2, 8, 0, 0xFF, 0xFF, 0xFF, 0x7F};  // claims 2 GiB of table
    AddStructure(raw, 1, 0x1B, UuidBody());
    EXPECT_EQ(SystemUuidFromRawSmbios(raw.data(), raw.size()), "00112233-44556677-8899AABB-CCDDEEFF");
    EXPECT_EQ(SystemUuidFromRawSmbios(raw.data(), 7), "");
    std::vector<uint8_t> shortClaim = raw;
    shortClaim[4] = 10;
    shortClaim[5] = shortClaim[6] = shortClaim[7] = 0;
    EXPECT_EQ(SystemUuidFromRawSmbios(shortClaim.data(), shortClaim.size()), "");
}

void FixChecksum(uint8_t* p, size_t n, size_t at) {
    uint8_t sum = 0;
    for (size_t i = 0; i < n; ++i) {
        if (i != at) sum = static_cast<uint8_t>(sum + p[i]);
    }
    p[at] = static_cast<uint8_t>(0x100 - sum);
}

std::vector<uint8_t> AreaWithSmEntry(size_t at) {
    std::vector<uint8_t> area(0x10000, 0);
    uint8_t* p = area.data() + at;
    memcpy(p, "_SM_", 4);
    p[5] = 0x1F;
    memcpy(p + 16, "_DMI_", 5);
    p[22] = 0x34;  // length 0x1234
    p[23] = 0x12;
    p[24] = 0x00;  // address 0x000F1000
    p[25] = 0x10;
    p[26] = 0x0F;
    p[28] = 42;  // count
    FixChecksum(p + 16, 15, 5);
    FixChecksum(p, 0x1F, 4);
    return area;
}

TEST(SmbiosEntryPoint, ValidSmAnchorGivesTheTableLocation) {
    std::vector<uint8_t> area = AreaWithSmEntry(0xA0);
    SmbiosTableLocation location;
    ASSERT_TRUE(FindSmbiosEntryPoint(area.data(), area.size(), location));
    EXPECT_EQ(location.address, 0x000F1000u);
    EXPECT_EQ(location.length, 0x1234u);
    EXPECT_EQ(location.count, 42u);
}

TEST(SmbiosEntryPoint, BadChecksumsOrNoAnchorFail) {
    SmbiosTableLocation location;
    std::vector<uint8_t> area = AreaWithSmEntry(0x100);
    area[0x100 + 20] ^= 1;
    EXPECT_FALSE(FindSmbiosEntryPoint(area.data(), area.size(), location));
    std::vector<uint8_t> empty(0x10000, 0);
    EXPECT_FALSE(FindSmbiosEntryPoint(empty.data(), empty.size(), location));
    EXPECT_FALSE(FindSmbiosEntryPoint(nullptr, 0, location));
}

TEST(SmbiosEntryPoint, LegacyDmiAnchorIsUsed) {
    std::vector<uint8_t> area(0x10000, 0);
    uint8_t* p = area.data() + 0x200;
    memcpy(p, "_DMI_", 5);
    p[6] = 0x00;
    p[7] = 0x02;
    p[8] = 0x00;
    p[9] = 0x00;
    p[10] = 0x0E;
    p[12] = 9;
    FixChecksum(p, 15, 5);
    SmbiosTableLocation location;
    ASSERT_TRUE(FindSmbiosEntryPoint(area.data(), area.size(), location));
    EXPECT_EQ(location.address, 0x000E0000u);
    EXPECT_EQ(location.length, 0x200u);
    EXPECT_EQ(location.count, 9u);
}

TEST(SmbiosEntryPoint, AnchorsAtTheAreaEndAreCheckedWithinTheBytesHeld) {
    // An entry point whose own length reaches past the area is refused, not read past.
    std::vector<uint8_t> area(0xFFE0 + 20, 0);
    memcpy(area.data() + 0xFFE0, "_SM_", 4);
    area[0xFFE0 + 5] = 0xFF;
    SmbiosTableLocation location;
    EXPECT_FALSE(FindSmbiosEntryPoint(area.data(), area.size(), location));
    std::vector<uint8_t> small(40, 0);
    memcpy(small.data() + 32, "_DMI_", 5);
    EXPECT_FALSE(FindSmbiosEntryPoint(small.data(), small.size(), location));
}

}  // namespace
}  // namespace kestro
