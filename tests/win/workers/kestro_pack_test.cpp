#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "pack_command.h"
#include "services/base/utf8.h"
#include "setup/package/package_layout.h"
#include "setup/workers/product_names.h"
#include "worker_test_support.h"

namespace kestro {
namespace testing {
namespace {

std::string ArchiveOfPackage(const std::string& package) {
    MemoryByteSource source(package);
    uint32_t offset = 0;
    ByteSlice record, archive;
    EXPECT_EQ(LocateInstallerPayload(source, offset, record, archive), kSetupOk);
    return package.substr(size_t(archive.start), size_t(archive.length));
}

// The product folder as entries written byte by byte: its folders, then its files.
std::vector<ZipEntry> EntriesByHand(const std::wstring& product) {
    std::vector<ZipEntry> entries;
    for (const std::wstring& path : FolderListing(product)) {
        std::wstring name = path;
        for (wchar_t& c : name) {
            if (c == L'\\') c = L'/';
        }
        ZipEntry entry{Utf8FromWide(name), name.back() == L'/' ? "" : ReadBytes(product + L"\\" + path)};
        entry.utf8Flag = true;
        entries.push_back(entry);
    }
    return entries;
}

// One product folder (tests/win/workers/python_zip_product.py) in the archives of three
// writers: kestro-pack, Python's zipfile and one written here byte by byte. Each installs
// exactly the folder's files and uninstalls completely; with the CRC of one late entry
// damaged, each fails with code 8 and takes back everything it wrote.
TEST_F(WorkerTest, PackagesOfEveryZipWriterInstallFailAndRollBackAlike) {
    const std::wstring product = BinFolder() + L"\\python-zip\\product";
    std::vector<std::wstring> expected = FolderListing(product);
    ASSERT_EQ(expected.size(), 10u) << "python_zip_product.py has not made the product folder";
    JValue config = PlainConfig();
    std::wstring configFile = scratch_ + L"\\config.json";
    ASSERT_TRUE(WriteBytes(configFile, config.WriteCompact()));
    std::wstring packed = scratch_ + L"\\setup_3.1_pack.exe";
    std::ostringstream out, err;
    ASSERT_EQ(
        RunKestroPack({"build", "--program", Utf8FromWide(BinFolder() + L"\\kestro_worker_driver.exe"), "--config",
                       Utf8FromWide(configFile), "--product", Utf8FromWide(product), "-o", Utf8FromWide(packed)},
                      out, err),
        0)
        << err.str();

    struct Writer {
        const char* name;
        std::string archive;
    };
    const std::vector<Writer> writers = {
        {"kestro-pack", ArchiveOfPackage(ReadBytes(packed))},
        {"zipfile", ReadBytes(BinFolder() + L"\\python-zip\\python.zip")},
        {"by hand", MakeZipByHand(EntriesByHand(product))},
    };
    expected.push_back(L"unins000.exe");
    std::sort(expected.begin(), expected.end());
    for (size_t i = 0; i < writers.size(); ++i) {
        const Writer& writer = writers[i];
        SCOPED_TRACE(writer.name);
        // kestro-pack's own package first; the others around the same program and record.
        std::wstring package = i == 0 ? packed : WritePackage(L"setup_3.1_pack.exe", config, writer.archive);
        ASSERT_EQ(Install(package).Posted(), 0x8401);
        EXPECT_EQ(TargetListing(), expected);
        for (const std::wstring& path : expected) {
            if (path.back() == L'\\' || path == L"unins000.exe") continue;
            EXPECT_TRUE(ReadBytes(Target(path)) == ReadBytes(product + L"\\" + path)) << Utf8FromWide(path);
        }
        EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, L"SOFTWARE\\Tarnwell\\KestroGC", L"AppID").Text(), L"pack");
        ASSERT_EQ(Uninstall().Posted(), 0x8401);
        EXPECT_FALSE(Exists(Target()));

        ASSERT_TRUE(CreateDirectoryW(Target().c_str(), nullptr));
        ASSERT_TRUE(WriteBytes(Target(L"keep.txt"), "the user's"));
        std::string damaged = writer.archive;
        // Not first in any writer's order: what came before it is on disk by then.
        ASSERT_TRUE(CorruptEntryCrc(damaged, "lib/mod.dll"));
        ClearStatsRequests();
        DriverResult failed = Install(WritePackage(L"damaged.exe", config, damaged));
        EXPECT_EQ(failed.Posted(), 0x8402);
        EXPECT_EQ(TargetListing(), std::vector<std::wstring>{L"keep.txt"});
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductUninstallKey));
        if (StatsLogAvailable()) {
            ASSERT_EQ(StatsRequests().size(), 1u);
            EXPECT_EQ(StatsRequests()[0]["e"].AsInt(), 8);
        }
        DeleteFileW(Target(L"keep.txt").c_str());
        RemoveDirectoryW(Target().c_str());
    }
}

}  // namespace
}  // namespace testing
}  // namespace kestro
