// The checksum and the security directory entry of a linked program, found where the
// system's own header reader finds them, and cleared for the system's readers to see.
#include <windows.h>
#include <imagehlp.h>

#include <gtest/gtest.h>

#include "package_fixture.h"
#include "setup/package/pe_image.h"

namespace kestro {
namespace {

TEST(ImageFields, LieWhereTheSystemReadsThemAndClearForIt) {
    std::string program;
    ASSERT_TRUE(ReadWholeFile(test::StubProgram(), program));
    auto* headers = ImageNtHeader(&program[0]);
    ASSERT_NE(headers, nullptr);
    const char* base = program.data();
    IMAGE_DATA_DIRECTORY& security = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_SECURITY];
    PeFileFields fields;
    ASSERT_TRUE(LocatePeFileFields(program, fields));
    EXPECT_EQ(fields.checksum, uint64_t(reinterpret_cast<const char*>(&headers->OptionalHeader.CheckSum) - base));
    ASSERT_TRUE(fields.hasSecurityEntry);
    EXPECT_EQ(fields.securityEntry, uint64_t(reinterpret_cast<const char*>(&security) - base));
    ASSERT_NE(headers->OptionalHeader.CheckSum, 0u) << "the linker wrote no checksum to see cleared";

    // As a signing tool leaves it: the entry points at a signature after the program.
    security.VirtualAddress = DWORD(program.size());
    security.Size = 0x5A8;
    ASSERT_TRUE(ClearSignatureAndChecksum(program));
    headers = ImageNtHeader(&program[0]);
    ASSERT_NE(headers, nullptr);
    EXPECT_EQ(headers->OptionalHeader.CheckSum, 0u);
    EXPECT_EQ(headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_SECURITY].VirtualAddress, 0u);
    EXPECT_EQ(headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_SECURITY].Size, 0u);
}

}  // namespace
}  // namespace kestro
