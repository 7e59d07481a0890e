// Reads arbitrary bytes as an installer or uninstaller package: the layout checks,
// the record, and (installers) the archive listing through minizip in memory.
#include <cstddef>
#include <cstdint>
#include <string>

#include "setup/package/package_layout.h"
#include "tools/kestro-pack/pack_command.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static auto codec = kestro::MakeSystemNameCodec();
    std::string bytes(reinterpret_cast<const char*>(data), size);
    kestro::MemoryByteSource source(bytes);
    std::string text;
    bool haveRecord = kestro::ReadRecordText(source, text);
    uint32_t offset = 0;
    kestro::ByteSlice record, archive;
    if (kestro::LocateInstallerPayload(source, offset, record, archive) == kestro::kSetupOk) {
        if (archive.start + archive.length > size || !haveRecord) __builtin_trap();
    }
    kestro::Inspection inspection;
    std::string error;
    if (kestro::InspectPackage(bytes, *codec, kestro::kDefaultNameCodePage, inspection, error)) {
        (void)kestro::FormatInspection(inspection);
        (void)kestro::InspectionJson(inspection).WriteCompact();
    }
    return 0;
}
