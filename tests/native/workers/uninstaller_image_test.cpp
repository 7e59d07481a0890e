#include "setup/workers/uninstaller_image.h"

#include <gtest/gtest.h>

#include <string>

#include "setup/package/package_layout.h"
#include "setup/package/pe_image.h"

namespace kestro {
namespace {

constexpr uint32_t kLfanew = 0x80;
constexpr uint32_t kOptional = kLfanew + 24;
constexpr uint32_t kOptionalSize = 0xE0;
constexpr uint32_t kImageSize = 0x400;

uint32_t Le32At(const std::string& bytes, size_t at) {
    return ReadLe32(reinterpret_cast<const unsigned char*>(bytes.data()) + at);
}

void PutLe32(std::string& bytes, size_t at, uint32_t value) {
    WriteLe32(reinterpret_cast<unsigned char*>(&bytes[at]), value);
}

void PutLe16(std::string& bytes, size_t at, uint16_t value) {
    bytes[at] = char(value & 0xFF);
    bytes[at + 1] = char(value >> 8);
}

// An unsigned installer's program image: PE32 headers with all 16 directory entries
// (the security entry empty), the offset field before the PE signature pointing at its
// end, and bytes that are not zero everywhere else.
std::string Image(uint16_t magic = 0x10b, uint32_t directories = 16) {
    std::string image(kImageSize, '\0');
    for (size_t i = 0; i < image.size(); ++i) image[i] = char(i * 7 + 1);
    image[0] = 'M';
    image[1] = 'Z';
    PutLe32(image, kLfanewPosition, kLfanew);
    PutLe32(image, kLfanew - 4, kImageSize);
    image.replace(kLfanew, 4, std::string("PE\0\0", 4));
    PutLe16(image, kLfanew + 4 + 16, kOptionalSize);
    PutLe16(image, kOptional, magic);
    PutLe32(image, kOptional + 64, 0x0001F00D);
    const uint32_t count = kOptional + (magic == 0x10b ? 92 : 108);
    PutLe32(image, count, directories);
    if (directories > 4) {
        PutLe32(image, count + 4 + 32, 0);
        PutLe32(image, count + 4 + 36, 0);
    }
    return image;
}

// What a signing tool changes in the image: the security entry points past it.
std::string Signed(std::string image, uint32_t securityAt = kOptional + 128) {
    PutLe32(image, securityAt, kImageSize + 0x9000);
    PutLe32(image, securityAt + 4, 0x5A8);
    PutLe32(image, kOptional + 64, 0x00C0FFEE);
    return image;
}

TEST(UninstallerImage, ASignedInstallerGivesTheSameCleanUninstallerAsItsUnsignedImage) {
    const std::string record = "{\"mode\":0}\n";
    std::string fromUnsigned, fromSigned;
    ASSERT_TRUE(ComposeUninstaller(Image(), kLfanew - 4, record, fromUnsigned));
    ASSERT_TRUE(ComposeUninstaller(Signed(Image()), kLfanew - 4, record, fromSigned));
    EXPECT_EQ(fromSigned, fromUnsigned);
    EXPECT_EQ(Le32At(fromSigned, kOptional + 64), 0u);
    EXPECT_EQ(Le32At(fromSigned, kOptional + 128), 0u);
    EXPECT_EQ(Le32At(fromSigned, kOptional + 132), 0u);
    // Every other byte of the image is the installer's.
    const std::string image = Image();
    for (size_t i = 0; i < kImageSize; ++i) {
        if (i >= kOptional + 64 && i < kOptional + 68) continue;
        ASSERT_EQ(fromSigned[i], image[i]) << i;
    }
    MemoryByteSource source(fromSigned);
    std::string text;
    ASSERT_TRUE(ReadRecordText(source, text));
    EXPECT_EQ(text, record);
    EXPECT_EQ(fromSigned.size(), kImageSize + 4 + record.size());

    std::string untouched = "kept";
    EXPECT_FALSE(ComposeUninstaller(Image(), kImageSize - 3, record, untouched));
    EXPECT_EQ(untouched, "kept");
}

TEST(UninstallerImage, TheSecurityEntryIsClearedOnlyWhereTheHeaderHasOne) {
    // PE32+: the directories start 16 bytes further on.
    std::string wide = Signed(Image(0x20b), kOptional + 144);
    ASSERT_TRUE(ClearSignatureAndChecksum(wide));
    EXPECT_EQ(Le32At(wide, kOptional + 64), 0u);
    EXPECT_EQ(Le32At(wide, kOptional + 144), 0u);
    EXPECT_EQ(Le32At(wide, kOptional + 148), 0u);

    // Four directory entries: entry 4's place belongs to whatever follows them.
    const std::string shortImage = Signed(Image(0x10b, 4));
    std::string cleared = shortImage;
    PeFileFields fields;
    ASSERT_TRUE(LocatePeFileFields(cleared, fields));
    EXPECT_FALSE(fields.hasSecurityEntry);
    ASSERT_TRUE(ClearSignatureAndChecksum(cleared));
    EXPECT_EQ(cleared.compare(kOptional + 128, 8, shortImage, kOptional + 128, 8), 0);

    // Not a PE32 or PE32+ header: nothing is changed.
    std::string odd = Signed(Image(0x107));
    const std::string before = odd;
    EXPECT_FALSE(ClearSignatureAndChecksum(odd));
    EXPECT_EQ(odd, before);
}

TEST(UninstallerImage, HeadersCutShortAnywhereAreRefusedWithoutReadingPastThem) {
    const std::string image = Signed(Image());
    for (size_t length = 0; length <= kOptional + kOptionalSize + 8; ++length) {
        std::string cut = image.substr(0, length);
        PeFileFields fields;
        const bool found = LocatePeFileFields(cut, fields);
        EXPECT_EQ(found, length >= kOptional + kOptionalSize) << length;
        EXPECT_EQ(ClearSignatureAndChecksum(cut), found) << length;
    }
    // An e_lfanew near 4 GiB must not wrap around to the start of the file.
    std::string far = image;
    PutLe32(far, kLfanewPosition, 0xFFFFFFF0u);
    PeFileFields fields;
    EXPECT_FALSE(LocatePeFileFields(far, fields));
}

}  // namespace
}  // namespace kestro
