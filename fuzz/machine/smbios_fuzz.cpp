// Firmware bytes as the machine id reads them: the raw table with its own length
// field, a bare structure table, and the entry-point scan.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "services/machine/smbios.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Copies, so the sanitizer sees the exact bounds of what is held.
    std::vector<uint8_t> bytes(data, data + size);
    (void)kestro::SystemUuidFromRawSmbios(bytes.data(), bytes.size());
    int count = kestro::CountSmbiosStructures(bytes.data(), bytes.size());
    (void)kestro::FindSystemUuid(bytes.data(), bytes.size(), count + 3);
    kestro::SmbiosTableLocation location;
    (void)kestro::FindSmbiosEntryPoint(bytes.data(), bytes.size(), location);
    return 0;
}
