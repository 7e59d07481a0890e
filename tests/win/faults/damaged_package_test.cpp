// Damaged installers: cut at every region boundary or with a bit flipped in the
// header, the record, the central directory or the entry data. Each ends with its
// error code, writes nothing into the target folder and leaves no temporary file.
#include <windows.h>

#include <gtest/gtest.h>

#include "fault_support.h"
#include "setup/package/file_byte_source.h"
#include "setup/package/package_reader.h"
#include "setup/workers/product_names.h"

namespace kestro {
namespace testing {
namespace {

class DamagedPackage : public WorkerTest {
protected:
    void SetUp() override {
        WorkerTest::SetUp();
        JValue config = PlainConfig();
        std::vector<ZipEntry> entries = StandardEntries();
        entries.erase(entries.begin() + 2);  // the incompressible one: keeps the cases quick
        package_ = MakePackage(ReadBytes(BinFolder() + L"\\kestro_worker_driver.exe"), config.WriteCompact(),
                               MakeZip(entries));
        regions_ = ReadRegions(package_);
    }

    std::wstring Write(const std::string& bytes) {
        std::wstring path = scratch_ + L"\\damaged.exe";
        EXPECT_TRUE(WriteBytes(path, bytes));
        return path;
    }

    // The error code of the one statistics report the run sent, or -1.
    static int ReportedError() {
        std::vector<JValue> requests = StatsRequests();
        if (requests.size() != 1 || requests[0]["kind"].AsText() != "set") return -1;
        return requests[0].HasMember("e") ? requests[0]["e"].AsInt() : 0;
    }

    // An install of `bytes` that must fail with `code` and leave nothing behind.
    void ExpectFailedInstall(const std::string& bytes, int code) {
        ClearStatsRequests();
        DriverResult result = Install(Write(bytes));
        EXPECT_EQ(result.Posted(), 0x8402);
        EXPECT_FALSE(Exists(Target())) << "the target folder was created";
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductUninstallKey));
        if (StatsLogAvailable()) {
            EXPECT_EQ(ReportedError(), code);
        }
    }

    std::string package_;
    PackageRegions regions_;
};

struct Cut {
    const char* where;
    uint32_t length;
    bool recordReadable;
    int code;
};

// Reading the record and copying the archive out, at every boundary: the record is
// readable exactly when it is whole, and the archive copy fails with the code of the
// first region that does not fit, leaving no temporary file.
TEST_F(DamagedPackage, EveryRegionBoundaryCutGivesItsCodeAndNoTemporaryFile) {
    const PackageRegions& r = regions_;
    const uint32_t end = uint32_t(package_.size());
    const uint32_t recordEnd = r.payload + 4 + r.recordLength;
    const Cut cuts[] = {
        {"empty file", 0, false, 1},
        {"inside the MS-DOS header", 40, false, 1},
        {"inside the offset field", r.lfanew - 2, false, 1},
        // O equal to the file size is no offset past the end: the record length is what is missing.
        {"end of the program image", r.payload, false, 3},
        {"inside the record length", r.payload + 2, false, 3},
        {"after the record length", r.payload + 4, false, 3},
        {"one byte short of the record", recordEnd - 1, false, 3},
        {"after the record", recordEnd, true, 5},
        {"inside the archive length", recordEnd + 2, true, 5},
        {"after the archive length", r.archive, true, 5},
        {"first entry's data", r.entryData[0], true, 5},
        {"start of the central directory", r.centralDirectory, true, 5},
        {"start of the end record", r.endOfCentralDirectory, true, 5},
        {"one byte short of the archive", end - 1, true, 5},
    };
    const std::vector<std::wstring> tempBefore = TempFolderListing();
    for (const Cut& cut : cuts) {
        SCOPED_TRACE(cut.where);
        std::wstring path = Write(package_.substr(0, cut.length));
        JValue record;
        EXPECT_EQ(ReadConfigRecord(path, record), cut.recordReadable);
        TempArchive temp;
        EXPECT_EQ(ExtractArchiveToTemp(path, temp), cut.code);
        EXPECT_EQ(TempFolderListing(), tempBefore);
    }
    // Whole, and with a signature's worth of bytes after it: both fine.
    for (const std::string& bytes : {package_, package_ + std::string(4096, 'S')}) {
        std::wstring path = Write(bytes);
        TempArchive temp;
        ASSERT_EQ(ExtractArchiveToTemp(path, temp), 0);
        FileByteSource copy(std::move(temp.file));
        std::string copied(size_t(copy.Size()), '\0');
        ASSERT_TRUE(copy.ReadAt(0, &copied[0], copied.size()));
        EXPECT_EQ(copied, package_.substr(regions_.archive, regions_.archiveLength));
    }
    EXPECT_EQ(TempFolderListing(), tempBefore);
}

TEST_F(DamagedPackage, AHeaderFlipMovingThePayloadPastTheEndGivesCode1) {
    std::string bytes = package_;
    bytes[regions_.lfanew - 1] ^= 0x40;  // the offset field's top byte
    std::wstring path = Write(bytes);
    JValue record;
    EXPECT_FALSE(ReadConfigRecord(path, record));
    TempArchive temp;
    EXPECT_EQ(ExtractArchiveToTemp(path, temp), 1);
}

// Past the record, a cut program still starts, so the install itself must fail.
TEST_F(DamagedPackage, AnInstallerCutAfterItsRecordFailsWithCode5) {
    ExpectFailedInstall(package_.substr(0, regions_.archive - 2), 5);
    ExpectFailedInstall(package_.substr(0, regions_.centralDirectory), 5);
    ExpectFailedInstall(package_.substr(0, package_.size() - 1), 5);
}

// A record that no longer parses is refused at start-up: nothing is installed or reported.
TEST_F(DamagedPackage, ARecordFlipIsRefusedBeforeAnythingIsWritten) {
    std::string bytes = package_;
    bytes[regions_.payload + 4] ^= 0x01;  // "{" becomes "z"
    ClearStatsRequests();
    DriverResult result = Install(Write(bytes));
    EXPECT_EQ(result.exitCode, 3u);
    EXPECT_FALSE(Exists(Target()));
    if (StatsLogAvailable()) {
        EXPECT_TRUE(StatsRequests().empty());
    }
}

TEST_F(DamagedPackage, CentralDirectoryFlipsFailWithCode8) {
    std::string header = package_;
    header[regions_.centralDirectory] ^= 0x01;  // "PK\1\2" of the first header
    ExpectFailedInstall(header, 8);
    std::string end = package_;
    end[regions_.endOfCentralDirectory + 1] ^= 0x01;  // "PK\5\6" of the end record
    ExpectFailedInstall(end, 8);
}

// Entries before the damaged one are written and then taken back.
TEST_F(DamagedPackage, EntryFlipsFailWithCode8AndRollBack) {
    const size_t middle = regions_.localHeaders.size() / 2;
    std::string local = package_;
    local[regions_.localHeaders[middle]] ^= 0x01;  // "PK\3\4" of a middle entry
    ExpectFailedInstall(local, 8);
    std::string data = package_;
    data[regions_.entryData[3] + 10] ^= 0x10;  // inside a deflated entry: CRC or stream error
    ExpectFailedInstall(data, 8);
}

// The same damage to a package of the real installer: a quiet run exits with the code
// and leaves no product folder and no registration.
TEST_F(DamagedPackage, TheQuietInstallerExitsWithTheCodeOfEachDamage) {
    std::vector<ZipEntry> entries = StandardEntries();
    entries.erase(entries.begin() + 2);
    const std::string package = ReadBytes(WriteSetupPackage(L"KestroSetup.exe", PlainConfig(), entries));
    const PackageRegions r = ReadRegions(package);
    struct Damage {
        const char* what;
        std::string bytes;
        DWORD code;
    };
    std::vector<Damage> damages = {
        {"cut inside the archive length", package.substr(0, r.archive - 2), 5},
        {"cut at the central directory", package.substr(0, r.centralDirectory), 5},
        {"central directory flip", package, 8},
        {"entry data flip", package, 8},
    };
    damages[2].bytes[r.centralDirectory] ^= 0x01;
    damages[3].bytes[r.entryData[3] + 10] ^= 0x10;
    const std::wstring base = scratch_ + L"\\quiet";
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        EXPECT_EQ(RunAndWait(Write(damage.bytes), L"/q /D \"" + base + L"\""), damage.code);
        EXPECT_FALSE(Exists(base + L"\\Tarnwell\\KestroGC"));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductUninstallKey));
    }
    // A sound package where the temporary copy of its archive cannot be written.
    wchar_t saved[MAX_PATH] = {};
    const bool hadTmp = GetEnvironmentVariableW(L"TMP", saved, MAX_PATH) > 0;
    SetEnvironmentVariableW(L"TMP", (scratch_ + L"\\no such folder").c_str());
    const DWORD code = RunAndWait(Write(package), L"/q /D \"" + base + L"\"");
    SetEnvironmentVariableW(L"TMP", hadTmp ? saved : nullptr);
    EXPECT_EQ(code, 6u);
    EXPECT_FALSE(Exists(base + L"\\Tarnwell\\KestroGC"));
}

}  // namespace
}  // namespace testing
}  // namespace kestro
