#include "services/machine/machine_id.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <cstring>
#include <map>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "services/win/unique_handle.h"
#include "tests/win/support/test_files.h"

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

// A second program reads the same system sources with code of its own.
std::map<std::string, std::string> IndependentReading() {
    test::ScratchFolder folder(L"kestro_machine_id");
    const std::wstring output = folder / L"reading.txt";
    std::wstring line = L"\"" + test::BinFolder() + L"\\kestro_machine_id_fixture.exe\" \"" + output + L"\"";
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION started = {};
    std::map<std::string, std::string> pieces;
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
        return pieces;
    }
    UniqueHandle process(started.hProcess), thread(started.hThread);
    DWORD code = 1;
    if (WaitForSingleObject(process.get(), 30000) != WAIT_OBJECT_0 || !GetExitCodeProcess(process.get(), &code) ||
        code != 0) {
        return pieces;
    }
    std::istringstream in(test::ReadBytes(output));
    for (std::string text; std::getline(in, text);) {
        size_t equals = text.find('=');
        if (equals != std::string::npos) pieces[text.substr(0, equals)] = text.substr(equals + 1);
    }
    return pieces;
}

TEST(MachineId, IdAndItsPiecesMatchAnIndependentReadingAndStayTheSame) {
    std::map<std::string, std::string> expected = IndependentReading();
    ASSERT_EQ(expected.size(), 4u) << "kestro_machine_id_fixture.exe did not report";
    EXPECT_EQ(ReadSystemUuid(3), expected["uuid"]);
    EXPECT_EQ(GetCpuIdString(), expected["cpu"]);
    EXPECT_EQ(GetAdapterAddressString(), expected["adapter"]);
    std::wstring id = GetMachineId();
    EXPECT_EQ(std::string(id.begin(), id.end()), expected["id"]);
    EXPECT_EQ(GetMachineId(), id);
}

// The adapter text with the system's answers replaced through this program's import
// slots, so that the list and the serial are known.
extern "C" void* importGetAdaptersInfo __asm__("__imp__GetAdaptersInfo@8");
extern "C" void* importGetVolumeInformationW __asm__("__imp__GetVolumeInformationW@32");

class ImportReplacement {
public:
    ImportReplacement(void*& slot, void* replacement) : slot_(slot), saved_(slot) { Write(replacement); }
    ~ImportReplacement() { Write(saved_); }
    ImportReplacement(const ImportReplacement&) = delete;
    ImportReplacement& operator=(const ImportReplacement&) = delete;

private:
    void Write(void* value) {
        DWORD old = 0;
        VirtualProtect(&slot_, sizeof slot_, PAGE_READWRITE, &old);
        slot_ = value;
        VirtualProtect(&slot_, sizeof slot_, old, &old);
    }
    void*& slot_;
    void* saved_;
};

std::vector<IP_ADAPTER_INFO> fakeAdapters;
std::vector<ULONG> adapterBufferSizes;
std::wstring serialRoot;

DWORD WINAPI FakeGetAdaptersInfo(PIP_ADAPTER_INFO buffer, PULONG size) {
    adapterBufferSizes.push_back(*size);
    if (fakeAdapters.empty()) return ERROR_NO_DATA;
    ULONG needed = static_cast<ULONG>(fakeAdapters.size() * sizeof(IP_ADAPTER_INFO));
    if (*size < needed) {
        *size = needed;
        return ERROR_BUFFER_OVERFLOW;
    }
    for (size_t i = 0; i < fakeAdapters.size(); ++i) {
        buffer[i] = fakeAdapters[i];
        buffer[i].Next = i + 1 < fakeAdapters.size() ? &buffer[i + 1] : nullptr;
    }
    return ERROR_SUCCESS;
}

BOOL WINAPI FakeGetVolumeInformationW(LPCWSTR root, LPWSTR, DWORD, LPDWORD serial, LPDWORD, LPDWORD, LPWSTR, DWORD) {
    serialRoot = root ? root : L"";
    if (serial) *serial = 0x1234ABCD;
    return TRUE;
}

IP_ADAPTER_INFO FakeAdapter(DWORD index, UINT type, const char* description, BYTE first) {
    IP_ADAPTER_INFO adapter = {};
    adapter.Index = index;
    adapter.Type = type;
    std::strcpy(adapter.Description, description);
    adapter.AddressLength = 6;
    for (int i = 0; i < 6; ++i) adapter.Address[i] = static_cast<BYTE>(first + i);
    return adapter;
}

TEST(MachineId, AdapterTextComesFromTheListTheSystemGivesElseFromTheVolumeSerial) {
    ImportReplacement adapters(importGetAdaptersInfo, reinterpret_cast<void*>(&FakeGetAdaptersInfo));
    ImportReplacement volume(importGetVolumeInformationW, reinterpret_cast<void*>(&FakeGetVolumeInformationW));

    fakeAdapters.clear();
    EXPECT_EQ(GetAdapterAddressString(), "CDAB34120000");
    EXPECT_EQ(serialRoot, L"C:\\");

    // Ethernet 5 beats Ethernet 7 and wireless 3; three records need a second, larger buffer.
    fakeAdapters = {FakeAdapter(7, MIB_IF_TYPE_ETHERNET, "Realtek PCIe", 0x70),
                    FakeAdapter(3, IF_TYPE_IEEE80211, "Wi-Fi", 0x30),
                    FakeAdapter(5, MIB_IF_TYPE_ETHERNET, "Intel Ethernet", 0x50)};
    adapterBufferSizes.clear();
    EXPECT_EQ(GetAdapterAddressString(), "505152535455");
    ASSERT_EQ(adapterBufferSizes.size(), 2u);
    EXPECT_EQ(adapterBufferSizes[1], 3 * sizeof(IP_ADAPTER_INFO));
}

}  // namespace
}  // namespace kestro
