#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "setup/workers/product_names.h"
#include "worker_test_support.h"

namespace kestro {
namespace testing {
namespace {

struct BadEntry {
    const char* label;
    ZipEntry entry;
    bool byHand = false;  // the whole archive written by MakeZipByHand, not minizip
};

std::vector<BadEntry> BadEntries() {
    std::vector<BadEntry> cases;
    cases.push_back({"ParentComponent", {"../evil.txt", "escaped"}});
    cases.push_back({"DeepParentComponent", {"ok/../../evil.txt", "escaped"}});
    cases.push_back({"DriveLetter", {"C:/kestro-evil.txt", "escaped"}});
    cases.push_back({"DriveRelative", {"C:kestro-evil.txt", "escaped"}});
    cases.push_back({"AbsolutePath", {"/kestro-evil.txt", "escaped"}});
    cases.push_back({"ForbiddenCharacter", {"a|b.txt", "bad name"}});
    cases.push_back({"ControlCharacter", {"ctl\x01.txt", "bad name"}});
    cases.push_back({"NameOf1024Bytes", {std::string(1020, 'n') + ".txt", "long name"}});
    ZipEntry crc{"crc.txt", std::string(5000, 'c')};
    crc.badCrc = true;
    cases.push_back({"CrcError", crc});
    ZipEntry data{"broken.txt", std::string(5000, 'd')};
    data.badData = true;
    cases.push_back({"UndecodableData", data});
    ZipEntry header{"unopenable.txt", "x"};
    header.badLocalHeader = true;
    cases.push_back({"UnopenableData", header});
    // Archives of another writer: what minizip reads must still be what the directory says.
    ZipEntry early{"early.txt", NoiseBytes(5000, 3)};
    early.sizeBeyondData = 3000;  // a complete deflate stream, 3000 bytes short of the size
    cases.push_back({"DeflateStreamEndsEarly", early, true});
    ZipEntry storedCrc{"stored-crc.txt", std::string(5000, 's')};
    storedCrc.deflate = false;
    storedCrc.badCrc = true;
    cases.push_back({"StoredWrongCrc", storedCrc, true});
    ZipEntry storedSize{"stored-size.txt", std::string(5000, 'z')};
    storedSize.deflate = false;
    storedSize.sizeBeyondData = 40;  // runs into the next header
    cases.push_back({"StoredSizeBeyondItsData", storedSize, true});
    return cases;
}

class FailedInstall : public WorkerTest, public ::testing::WithParamInterface<BadEntry> {};

// Entries before the bad one are written, then taken back; the user's own file and
// the folders it lives in stay.
TEST_P(FailedInstall, FailsWithCode8AndLeavesNothingItWrote) {
    ASSERT_TRUE(CreateDirectoryW(Target().c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(Target(L"keep.txt"), "the user's"));
    std::vector<ZipEntry> entries = {{"first.txt", std::string(200000, 'f')},
                                     {"made/", ""},
                                     {"made/more/than/one/", ""},
                                     {"made/deeper/x.txt", "x"},
                                     {"nested/no/entries/y.txt", "y"},
                                     GetParam().entry,
                                     {"after.txt", "never"}};
    ClearStatsRequests();
    const std::string archive = GetParam().byHand ? MakeZipByHand(entries) : MakeZip(entries);
    DriverResult result = Install(WritePackage(L"setup.exe", StandardConfig(), archive));
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.Posted(), 0x8402);
    if (StatsLogAvailable()) {
        std::vector<JValue> reports = StatsRequests();
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0]["e"].AsInt(), 8);
    }
    EXPECT_EQ(result.json["bar"].AsInt(), 0);
    EXPECT_EQ(TargetListing(), std::vector<std::wstring>{L"keep.txt"});
    EXPECT_FALSE(Exists(scratch_ + L"\\evil.txt"));
    EXPECT_FALSE(Exists(L"C:\\kestro-evil.txt"));
    DeleteFileW(L"C:\\kestro-evil.txt");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kProtocolKey));
}

INSTANTIATE_TEST_SUITE_P(Entries, FailedInstall, ::testing::ValuesIn(BadEntries()),
                         [](const ::testing::TestParamInfo<BadEntry>& info) { return std::string(info.param.label); });

TEST_F(WorkerTest, AnArchiveThatIsNoZipFailsWithCode8) {
    std::string image = ReadBytes(BinFolder() + L"\\kestro_worker_driver.exe");
    std::wstring package = scratch_ + L"\\setup.exe";
    ASSERT_TRUE(WriteBytes(package, MakePackage(image, StandardConfig().WriteCompact(), "this is not a zip archive")));
    DriverResult result = Install(package);
    EXPECT_EQ(result.Posted(), 0x8402);
    EXPECT_FALSE(Exists(Target()));
}

TEST_F(WorkerTest, AnArchiveLongerThanItsFileFailsWithCode5BeforeWritingAnything) {
    std::string image = ReadBytes(BinFolder() + L"\\kestro_worker_driver.exe");
    std::string package = MakePackage(image, StandardConfig().WriteCompact(), MakeZip(StandardEntries()));
    package.pop_back();
    ASSERT_TRUE(WriteBytes(scratch_ + L"\\setup.exe", package));
    DriverResult result = Install(scratch_ + L"\\setup.exe");
    EXPECT_EQ(result.Posted(), 0x8402);
    EXPECT_FALSE(Exists(Target()));
}

// The wrapper script maps a 2 MB drive: a package larger than that cannot fit.
TEST_F(WorkerTest, AFullDiskFailsWithCode8AndRollsBack) {
    const char* drive = getenv("KESTRO_FULL_DISK");
    if (!drive || !*drive)
        GTEST_SKIP() << "no small drive mapped (needs the tmpfs mount of scripts/wine-with-drive.sh)";
    target_ = std::wstring(drive, drive + strlen(drive)) + L"Kestro";
    std::vector<ZipEntry> entries = {
        {"small.txt", "fits"}, {"big/noise.bin", NoiseBytes(3 << 20, 11)}, {"after.txt", "never"}};
    DriverResult result = Install(WritePackage(L"setup.exe", StandardConfig(), entries));
    EXPECT_EQ(result.Posted(), 0x8402);
    EXPECT_EQ(result.json["bar"].AsInt(), 0);
    EXPECT_FALSE(Exists(target_));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductUninstallKey));
}

}  // namespace
}  // namespace testing
}  // namespace kestro
