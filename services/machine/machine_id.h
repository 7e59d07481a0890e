#pragma once
// The machine id of the statistics reports: MD5 over the platform code, the SMBIOS
// system UUID, two CPUID register pairs and a network adapter address (or the volume
// serial of C:). Computed once per process, never stored.
#include <string>

namespace kestro {

// 32 upper-case hexadecimal digits; the first call computes it.
std::wstring GetMachineId();
// mode: 2 physical memory, 3 firmware table interface; anything else gives empty text.
std::string ReadSystemUuid(int mode);
std::string GetCpuIdString();
std::string GetAdapterAddressString();

}  // namespace kestro
