// The image checksum and the cleared signature entry, judged by the linker that wrote
// the stub program and by the system's own checksum and header readers.
#include <windows.h>
#include <imagehlp.h>

#include <gtest/gtest.h>

#include "package_fixture.h"
#include "setup/package/package_layout.h"
#include "setup/package/pe_image.h"

namespace kestro {
namespace {

TEST(ImageChecksum, AgreesWithTheLinkerAndWithTheSystemForOddAndEvenLengths) {
    std::string program;
    ASSERT_TRUE(ReadWholeFile(test::StubProgram(), program));
    PeFileFields fields;
    ASSERT_TRUE(LocatePeFileFields(program, fields));
    ASSERT_TRUE(fields.hasSecurityEntry);
    const uint32_t linked = ReadLe32(reinterpret_cast<const unsigned char*>(program.data()) + fields.checksum);
    ASSERT_NE(linked, 0u) << "the linker wrote no checksum to compare with";
    EXPECT_EQ(ComputePeChecksum(program, fields.checksum), linked);

    test::ScratchFolder folder(L"kestro_checksum");
    for (size_t extra : {1u, 2u, 3u, 1001u}) {
        SCOPED_TRACE(extra);
        std::string file = program + std::string(extra, '\xA7');
        // As a signing tool leaves it: the entry points at a signature past the image.
        WriteLe32(reinterpret_cast<unsigned char*>(&file[size_t(fields.securityEntry)]), uint32_t(program.size()));
        WriteLe32(reinterpret_cast<unsigned char*>(&file[size_t(fields.securityEntry) + 4]), uint32_t(extra));
        ASSERT_TRUE(MarkAsUnsignedWholeFile(file));
        const std::wstring path = folder / L"image.exe";
        ASSERT_TRUE(WriteWholeFile(path, file));

        DWORD stored = 0, computed = 0;
        ASSERT_EQ(MapFileAndCheckSumW(path.c_str(), &stored, &computed), DWORD(CHECKSUM_SUCCESS));
        EXPECT_EQ(stored, computed);
        const auto* headers = ImageNtHeader(const_cast<char*>(file.data()));
        ASSERT_NE(headers, nullptr);
        const IMAGE_DATA_DIRECTORY& security = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_SECURITY];
        EXPECT_EQ(security.VirtualAddress, 0u);
        EXPECT_EQ(security.Size, 0u);
    }
}

}  // namespace
}  // namespace kestro
