#include "services/machine/machine_id.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <cpuid.h>

#include <cstring>
#include <vector>

#include "services/machine/machine_text.h"
#include "services/machine/smbios.h"
#include "services/win/unique_handle.h"

namespace kestro {

namespace {

const DWORD kRsmbProvider = 0x52534D42;  // 'RSMB'
const uint32_t kBiosAreaAddress = 0xF0000;
const uint32_t kBiosAreaSize = 0x10000;
const DWORD kFirstAdapterBufferSize = sizeof(IP_ADAPTER_INFO);

typedef UINT(WINAPI* GetSystemFirmwareTableFn)(DWORD, DWORD, PVOID, DWORD);

// The ntdll pieces for the physical-memory section; declared here because the SDK
// headers of the tool chain do not export them for user programs.
struct NtUnicodeString {
    USHORT Length;
    USHORT MaximumLength;
    PWSTR Buffer;
};
struct NtObjectAttributes {
    ULONG Length;
    HANDLE RootDirectory;
    NtUnicodeString* ObjectName;
    ULONG Attributes;
    PVOID SecurityDescriptor;
    PVOID SecurityQualityOfService;
};
typedef LONG(NTAPI* NtOpenSectionFn)(HANDLE*, ACCESS_MASK, NtObjectAttributes*);
typedef LONG(NTAPI* NtMapViewOfSectionFn)(HANDLE, HANDLE, PVOID*, ULONG_PTR, SIZE_T, LARGE_INTEGER*, SIZE_T*, DWORD,
                                          ULONG, ULONG);
typedef LONG(NTAPI* NtUnmapViewOfSectionFn)(HANDLE, PVOID);
typedef VOID(NTAPI* RtlInitUnicodeStringFn)(NtUnicodeString*, PCWSTR);
const ULONG kObjCaseInsensitive = 0x40;
const DWORD kViewShare = 1;

template <class Fn>
Fn Lookup(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Copies `length` bytes of physical memory at `address`; empty when the section is refused.
std::vector<uint8_t> CopyPhysicalMemory(uint32_t address, uint32_t length) {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    auto openSection = Lookup<NtOpenSectionFn>(ntdll, "NtOpenSection");
    auto mapView = Lookup<NtMapViewOfSectionFn>(ntdll, "NtMapViewOfSection");
    auto unmapView = Lookup<NtUnmapViewOfSectionFn>(ntdll, "NtUnmapViewOfSection");
    auto initString = Lookup<RtlInitUnicodeStringFn>(ntdll, "RtlInitUnicodeString");
    if (!openSection || !mapView || !unmapView || !initString || length == 0) return {};

    NtUnicodeString name;
    initString(&name, L"\\device\\physicalmemory");
    NtObjectAttributes attributes{sizeof(NtObjectAttributes), nullptr, &name, kObjCaseInsensitive, nullptr, nullptr};
    HANDLE rawSection = nullptr;
    if (openSection(&rawSection, SECTION_MAP_READ, &attributes) < 0) return {};
    UniqueHandle section(rawSection);

    SYSTEM_INFO info;
    GetSystemInfo(&info);
    uint32_t inPage = address % info.dwPageSize;
    LARGE_INTEGER base;
    base.QuadPart = address - inPage;
    SIZE_T viewSize = static_cast<SIZE_T>(length) + inPage;
    PVOID view = nullptr;
    if (mapView(section.get(), GetCurrentProcess(), &view, 0, viewSize, &base, &viewSize, kViewShare, 0,
                PAGE_READONLY) < 0 ||
        !view) {
        return {};
    }
    std::vector<uint8_t> bytes;
    if (viewSize > inPage) {
        bytes.assign(static_cast<uint8_t*>(view) + inPage, static_cast<uint8_t*>(view) + viewSize);
    }
    unmapView(GetCurrentProcess(), view);
    if (bytes.size() < length) bytes.clear();
    return bytes;
}

std::string UuidFromFirmwareTable() {
    auto getTable = Lookup<GetSystemFirmwareTableFn>(GetModuleHandleW(L"kernel32.dll"), "GetSystemFirmwareTable");
    if (!getTable) return std::string();
    UINT size = getTable(kRsmbProvider, 0, nullptr, 0);
    if (size == 0) return std::string();
    std::vector<uint8_t> table(size);
    UINT got = getTable(kRsmbProvider, 0, table.data(), size);
    if (got == 0 || got > size) return std::string();
    return SystemUuidFromRawSmbios(table.data(), got);
}

std::string UuidFromPhysicalMemory() {
    std::vector<uint8_t> area = CopyPhysicalMemory(kBiosAreaAddress, kBiosAreaSize);
    SmbiosTableLocation location;
    if (!FindSmbiosEntryPoint(area.data(), area.size(), location)) return std::string();
    std::vector<uint8_t> table = CopyPhysicalMemory(location.address, location.length);
    size_t held = table.size() < location.length ? table.size() : location.length;
    return FindSystemUuid(table.data(), held, static_cast<int>(location.count));
}

FirmwareReadingMode CurrentReadingMode() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExW(&version)) return FirmwareReadingMode::None;
    return FirmwareReadingModeFor(version.dwPlatformId == VER_PLATFORM_WIN32_NT, version.dwMajorVersion,
                                  version.dwMinorVersion);
}

std::wstring ComputeMachineId() {
    std::string uuid = ReadSystemUuid(static_cast<int>(CurrentReadingMode()));
    std::string id = MachineIdFromTexts(uuid, GetCpuIdString(), GetAdapterAddressString());
    return std::wstring(id.begin(), id.end());
}

}  // namespace

std::string ReadSystemUuid(int mode) {
    if (mode == static_cast<int>(FirmwareReadingMode::FirmwareTable)) return UuidFromFirmwareTable();
    if (mode == static_cast<int>(FirmwareReadingMode::PhysicalMemory)) return UuidFromPhysicalMemory();
    return std::string();
}

std::string GetCpuIdString() {
    unsigned a = 0, b = 0, c1 = 0, d1 = 0, c3 = 0, d3 = 0;
    __cpuid_count(1, 0, a, b, c1, d1);
    __cpuid_count(3, 0, a, b, c3, d3);
    return FormatCpuText(d1, c1, d3, c3);
}

std::string GetAdapterAddressString() {
    DWORD serial = 0;
    if (!GetVolumeInformationW(L"C:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) serial = 0;

    std::vector<AdapterRecord> adapters;
    ULONG size = kFirstAdapterBufferSize;
    std::vector<uint8_t> buffer(size);
    DWORD status = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    if (status == ERROR_BUFFER_OVERFLOW) {
        buffer.assign(size, 0);
        status = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    }
    if (status == ERROR_SUCCESS) {
        for (auto* a = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()); a; a = a->Next) {
            AdapterRecord record;
            record.index = a->Index;
            record.type = a->Type;
            record.description.assign(a->Description, strnlen(a->Description, sizeof(a->Description)));
            std::memcpy(record.address, a->Address, 6);
            adapters.push_back(record);
        }
    }
    uint8_t chosen[6];
    ChooseAdapterAddress(adapters, serial, chosen);
    return FormatAdapterText(chosen);
}

std::wstring GetMachineId() {
    // Thread-safe one-time computation; later calls return the same text.
    static const std::wstring id = ComputeMachineId();
    return id;
}

}  // namespace kestro
