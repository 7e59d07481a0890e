#pragma once
// SMBIOS data as the machine id reads it: the structure table walk, the raw table
// returned by the firmware-table interface, and the entry-point scan of the 64 KiB
// BIOS area. Every read stays inside the bytes actually held, whatever the data's
// own length fields claim.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kestro {

// "%02X%02X%02X%02X-" x4 over the 16 bytes in their stored order (no byte swapping).
std::string FormatSystemUuid(const uint8_t bytes[16]);

// Structures of the table: formatted area, then its strings up to the double NUL.
int CountSmbiosStructures(const uint8_t* table, size_t length);

// The UUID text of the first System Information structure (type 1, formatted length
// above 24) among at most `count` structures; empty when there is none.
std::string FindSystemUuid(const uint8_t* table, size_t length, int count);

// The result of GetSystemFirmwareTable('RSMB'): an 8-byte header (method, major,
// minor, DMI revision, u32 table length) and the structure table.
std::string SystemUuidFromRawSmbios(const uint8_t* data, size_t size);

struct SmbiosTableLocation {
    uint32_t address = 0;
    uint32_t length = 0;
    uint32_t count = 0;
};

// Scans the BIOS area (64 KiB from physical 0xF0000) in 16-byte steps for "_SM_" or the
// legacy "_DMI_" anchor; the first anchor found decides. False when none is found or
// the entry point's checksums do not hold.
bool FindSmbiosEntryPoint(const uint8_t* area, size_t size, SmbiosTableLocation& out);

}  // namespace kestro
