#include "setup/package/package_layout.h"
#include "setup/package/setup_error.h"
#include "setup/package/temp_archive_name.h"

#include <gtest/gtest.h>

#include <string>

namespace kestro {
namespace {

constexpr uint32_t kLfanew = 0x80;
constexpr uint32_t kImageSize = 0x200;

void PutLe32(std::string& bytes, size_t at, uint32_t value) {
    WriteLe32(reinterpret_cast<unsigned char*>(&bytes[at]), value);
}

std::string Le32(uint32_t value) {
    std::string s(4, '\0');
    PutLe32(s, 0, value);
    return s;
}

std::string Image() {
    std::string image(kImageSize, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    PutLe32(image, kLfanewPosition, kLfanew);
    image.replace(kLfanew, 4, std::string("PE\0\0", 4));
    return image;
}

// image | R | record | Z | archive | trailer, with O written into the field.
std::string Package(const std::string& record, const std::string& archive, const std::string& trailer = "") {
    std::string bytes = Image();
    PutLe32(bytes, kLfanew - 4, kImageSize);
    bytes += Le32(uint32_t(record.size())) + record + Le32(uint32_t(archive.size())) + archive + trailer;
    return bytes;
}

std::string Uninstaller(const std::string& record) {
    std::string bytes = Image();
    PutLe32(bytes, kLfanew - 4, kImageSize);
    return bytes + Le32(uint32_t(record.size())) + record;
}

SetupError Locate(const std::string& bytes, ByteSlice& record, ByteSlice& archive) {
    MemoryByteSource source(bytes);
    uint32_t offset = 0;
    return LocateInstallerPayload(source, offset, record, archive);
}

SetupError Locate(const std::string& bytes) {
    ByteSlice record, archive;
    return Locate(bytes, record, archive);
}

bool RecordText(const std::string& bytes, std::string& text) {
    MemoryByteSource source(bytes);
    return ReadRecordText(source, text);
}

TEST(PackageLayout, FindsRecordAndArchiveSlices) {
    std::string bytes = Package("{\"mode\":1}\n", "ZIPDATA");
    ByteSlice record, archive;
    ASSERT_EQ(Locate(bytes, record, archive), kSetupOk);
    EXPECT_EQ(bytes.substr(size_t(record.start), size_t(record.length)), "{\"mode\":1}\n");
    EXPECT_EQ(bytes.substr(size_t(archive.start), size_t(archive.length)), "ZIPDATA");
}

TEST(PackageLayout, BytesAfterTheArchiveDoNotDisturbReading) {
    std::string bytes = Package("{\"mode\":1}", "ZIPDATA", std::string(300, '\x30'));
    ByteSlice record, archive;
    ASSERT_EQ(Locate(bytes, record, archive), kSetupOk);
    EXPECT_EQ(bytes.substr(size_t(archive.start), size_t(archive.length)), "ZIPDATA");
    std::string text;
    ASSERT_TRUE(RecordText(bytes, text));
    EXPECT_EQ(text, "{\"mode\":1}");
}

TEST(PackageLayout, OffsetZeroOrPastTheEndIsNotAPackage) {
    std::string bytes = Package("{}", "Z");
    PutLe32(bytes, kLfanew - 4, 0);
    EXPECT_EQ(Locate(bytes), kSetupBadPackage);
    PutLe32(bytes, kLfanew - 4, uint32_t(bytes.size() + 1));
    EXPECT_EQ(Locate(bytes), kSetupBadPackage);
    PutLe32(bytes, kLfanew - 4, 0xFFFFFFFFu);
    EXPECT_EQ(Locate(bytes), kSetupBadPackage);
    std::string text;
    EXPECT_FALSE(RecordText(bytes, text));
}

TEST(PackageLayout, HostileLfanewIsRejectedWithoutReadingOutside) {
    std::string bytes = Package("{}", "Z");
    for (uint32_t lfanew : {0u, 1u, 3u, uint32_t(bytes.size() + 1), 0xFFFFFFFFu, 0xFFFFFFFCu}) {
        PutLe32(bytes, kLfanewPosition, lfanew);
        EXPECT_EQ(Locate(bytes), kSetupBadPackage) << lfanew;
    }
    EXPECT_EQ(Locate(bytes.substr(0, 63)), kSetupBadPackage);
    EXPECT_EQ(Locate(std::string()), kSetupBadPackage);
}

TEST(PackageLayout, OffsetAtTheVeryEndLeavesNoRoomForTheRecordLength) {
    std::string bytes = Image();
    PutLe32(bytes, kLfanew - 4, kImageSize);
    EXPECT_EQ(Locate(bytes), kSetupBadRecord);
    bytes += "\x01\x00";  // half a length field
    EXPECT_EQ(Locate(bytes), kSetupBadRecord);
}

TEST(PackageLayout, RecordLengthOneTooLargeIsCodeThree) {
    std::string bytes = Uninstaller("{\"mode\":0}");
    PutLe32(bytes, kImageSize, uint32_t(bytes.size() - kImageSize - 4 + 1));
    std::string text;
    EXPECT_FALSE(RecordText(bytes, text));
    EXPECT_EQ(Locate(bytes), kSetupBadRecord);
}

TEST(PackageLayout, RecordLengthNearFourGigabytesDoesNotWrap) {
    std::string bytes = Package("{}", "Z");
    for (uint32_t r : {0xFFFFFFFFu, 0xFFFFFFFCu, 0xFFFFFFFFu - kImageSize}) {
        PutLe32(bytes, kImageSize, r);
        EXPECT_EQ(Locate(bytes), kSetupBadRecord) << r;
    }
}

TEST(PackageLayout, ArchiveLengthOneTooLargeIsCodeFive) {
    std::string bytes = Package("{\"mode\":1}", "ZIPDATA");
    PutLe32(bytes, bytes.size() - 7 - 4, 8);
    EXPECT_EQ(Locate(bytes), kSetupBadArchive);
    PutLe32(bytes, bytes.size() - 7 - 4, 0xFFFFFFFFu);
    EXPECT_EQ(Locate(bytes), kSetupBadArchive);
}

TEST(PackageLayout, UninstallerRecordFillingTheFileIsReadButHasNoArchive) {
    std::string bytes = Uninstaller("{\"mode\":0}\n");
    std::string text;
    ASSERT_TRUE(RecordText(bytes, text));
    EXPECT_EQ(text, "{\"mode\":0}\n");
    EXPECT_EQ(Locate(bytes), kSetupBadArchive);
    // A partial archive length field is no archive either.
    EXPECT_EQ(Locate(bytes + "\x01\x02"), kSetupBadArchive);
}

TEST(PackageLayout, EveryTruncationOfAPackageIsRejectedOrIntact) {
    std::string bytes = Package("{\"mode\":1}", "ZIPDATA");
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        EXPECT_NE(Locate(bytes.substr(0, cut)), kSetupOk) << cut;
    }
    EXPECT_EQ(Locate(bytes), kSetupOk);
}

TEST(SetupErrorTable, MessagesByCode) {
    EXPECT_STREQ(SetupErrorMessage(1), L"安装包不正确, 请重新安装");
    EXPECT_STREQ(SetupErrorMessage(2), L"读取安装包失败, 请重新安装");
    EXPECT_STREQ(SetupErrorMessage(3), L"配置文件不正确, 请重新安装");
    EXPECT_STREQ(SetupErrorMessage(4), L"读取配置文件失败, 请重新安装");
    EXPECT_STREQ(SetupErrorMessage(5), L"安装包内容不正确, 请重新下载");
    EXPECT_STREQ(SetupErrorMessage(6), L"不能写入临时文件, 请重新安装");
    EXPECT_STREQ(SetupErrorMessage(7), L"读取压缩数据失败, 请重新安装");
    EXPECT_STREQ(SetupErrorMessage(8), L"解压失败, 请清理磁盘后重新安装");
    EXPECT_STREQ(SetupErrorMessage(9), L"很抱歉，安装包校验失败，请尝试重新下载...Orz");
    EXPECT_STREQ(SetupErrorMessage(10), L"无法下载安装包, 请从官网下载离线安装包");
}

TEST(SetupErrorTable, CodesWithoutAnEntryGiveEmptyText) {
    EXPECT_STREQ(SetupErrorMessage(0), L"");
    EXPECT_STREQ(SetupErrorMessage(11), L"");
    EXPECT_STREQ(SetupErrorMessage(-1), L"");
}

TEST(TempArchiveName, SixteenUpperCaseDigitsAfterTheTempFolder) {
    EXPECT_EQ(FormatTempArchiveName(L"C:\\T\\", 0x0123456789ABCDEFull), L"C:\\T\\\\0123456789ABCDEF.zip");
    EXPECT_EQ(FormatTempArchiveName(L"C:\\T\\", 0), L"C:\\T\\\\0000000000000000.zip");
    EXPECT_EQ(FormatTempArchiveName(L"X", ~0ull), L"X\\FFFFFFFFFFFFFFFF.zip");
}

TEST(TempArchiveName, GuidBytesReadLittleEndian) {
    const unsigned char guid[16] = {0xEF, 0xCD, 0xAB, 0x89, 0x67, 0x45, 0x23, 0x01, 0xFF, 0xFF};
    EXPECT_EQ(GuidLeadingValue(guid), 0x0123456789ABCDEFull);
}

}  // namespace
}  // namespace kestro
