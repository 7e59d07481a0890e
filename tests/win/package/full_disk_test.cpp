// Writes onto a disk that fills up (KESTRO_FULL_DISK names it; see
// scripts/wine-with-drive.sh): a short write must be a failure, never a success.
#include <gtest/gtest.h>

#include "package_fixture.h"
#include "setup/package/package_reader.h"

namespace kestro {
namespace {

constexpr const char kNoDisk[] = "no disk that fills up (win_full_disk_tests maps one where the machine allows the mount)";

std::wstring FullDisk() {
    wchar_t disk[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"KESTRO_FULL_DISK", disk, MAX_PATH)) return std::wstring();
    return disk;
}

// Bytes that do not compress, so the archive is as large as its content.
std::string Noise(size_t size) {
    std::string bytes(size, '\0');
    uint32_t state = 12345;
    for (auto& b : bytes) {
        state = state * 1103515245u + 12345u;
        b = char(state >> 24);
    }
    return bytes;
}

TEST(FullDisk, WritingMoreThanFitsFails) {
    std::wstring disk = FullDisk();
    if (disk.empty()) GTEST_SKIP() << kNoDisk;
    EXPECT_FALSE(WriteWholeFile(disk + L"big.bin", Noise(200 * 1024)));
    DeleteFileW((disk + L"big.bin").c_str());
    EXPECT_FALSE(WriteFileRange(disk + L"range.bin", 10, Noise(200 * 1024), 150 * 1024));
    DeleteFileW((disk + L"range.bin").c_str());
    // The same disk with room again: the failures were the disk's, not the writer's.
    EXPECT_TRUE(WriteWholeFile(disk + L"small.bin", "fits"));
    DeleteFileW((disk + L"small.bin").c_str());
}

TEST(FullDisk, TemporaryArchiveOnAFullDiskIsCodeSixAndLeavesNothing) {
    std::wstring disk = FullDisk();
    if (disk.empty()) GTEST_SKIP() << kNoDisk;
    test::BuiltInstaller installer;
    ASSERT_TRUE(installer.Build(Noise(150 * 1024)));
    TempArchive temp;
    int code = 0;
    {
        test::ScopedTempFolder onFullDisk(disk);
        code = ExtractArchiveToTemp(installer.path, temp);
    }
    EXPECT_EQ(code, kSetupWriteTemp);
    EXPECT_TRUE(temp.path.empty());
    EXPECT_TRUE(test::FindEntries(disk + L"*.zip").empty()) << "a partial temporary archive was left";
}

}  // namespace
}  // namespace kestro
