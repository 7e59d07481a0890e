#include "setup/package/package_reader.h"

#include <gtest/gtest.h>

#include "package_fixture.h"
#include "setup/package/package_layout.h"
#include "setup/package/package_records.h"
#include "setup/package/file_byte_source.h"
#include "tools/kestro-pack/memory_zip_io.h"
#include "tools/kestro-pack/package_builder.h"
#include "unzip.h"

namespace kestro {
namespace {

using test::BuiltInstaller;

ByteSlice ArchiveOf(const std::string& bytes) {
    MemoryByteSource source(bytes);
    uint32_t offset = 0;
    ByteSlice record, archive;
    EXPECT_EQ(LocateInstallerPayload(source, offset, record, archive), kSetupOk);
    return archive;
}

// The field before the PE signature of the stub program.
size_t OffsetField(const std::string& bytes) {
    return ReadLe32(reinterpret_cast<const unsigned char*>(bytes.data()) + kLfanewPosition) - 4;
}

void Patch32(std::string& bytes, size_t at, uint32_t value) {
    WriteLe32(reinterpret_cast<unsigned char*>(&bytes[at]), value);
}

int Extract(const std::wstring& path, TempArchive& temp) {
    temp = TempArchive();
    return ExtractArchiveToTemp(path, temp);
}

// The temporary archive's bytes, read through its own handle, which is closed after.
std::string TakeTempBytes(TempArchive& temp) {
    FileByteSource file(std::move(temp.file));
    std::string bytes(size_t(file.Size()), '\0');
    EXPECT_TRUE(bytes.empty() || file.ReadAt(0, &bytes[0], bytes.size()));
    return bytes;
}

TEST(ReadConfigRecord, ReadsTheRecordOfAnInstaller) {
    BuiltInstaller installer;
    ASSERT_TRUE(installer.Build());
    JValue record;
    ASSERT_TRUE(ReadConfigRecord(installer.path, record));
    JValue expected;
    ASSERT_TRUE(JValue::Parse(test::kInstallerRecord, expected));
    EXPECT_EQ(record, expected);
    PackageConfig config{record};
    EXPECT_TRUE(config.HasMode());
    EXPECT_FALSE(config.IsUninstaller());
}

TEST(ReadConfigRecord, PackagedProgramStillStartsWithItsPayload) {
    BuiltInstaller installer;
    ASSERT_TRUE(installer.Build());
    test::HelperProcess started;
    ASSERT_TRUE(started.Start(installer.path, L"", false));
    DWORD code = 1;
    ASSERT_TRUE(started.WaitEnded(15000, &code));
    EXPECT_EQ(code, 0u);
}

TEST(ReadConfigRecord, ReadsAnUninstallerWhoseRecordFillsTheFile) {
    std::string image, package, error;
    ASSERT_TRUE(ReadWholeFile(test::StubProgram(), image));
    ASSERT_TRUE(AssemblePackage(image, "{\"files\":[],\"mode\":0}\n", nullptr, package, error)) << error;
    test::ScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder / L"unins000.exe", package));
    JValue record;
    ASSERT_TRUE(ReadConfigRecord(folder / L"unins000.exe", record));
    EXPECT_TRUE(PackageConfig{record}.IsUninstaller());
    TempArchive temp;
    EXPECT_EQ(Extract(folder / L"unins000.exe", temp), kSetupBadArchive);
    EXPECT_TRUE(temp.path.empty());
}

TEST(ReadConfigRecord, NoRecordForPlainProgramsMissingFilesAndBrokenRecords) {
    JValue record;
    EXPECT_FALSE(ReadConfigRecord(test::StubProgram(), record));
    EXPECT_FALSE(ReadConfigRecord(L"C:\\no such folder\\setup.exe", record));
    BuiltInstaller installer;
    ASSERT_TRUE(installer.Build());
    std::string bytes = installer.bytes;
    uint32_t offset = ReadLe32(reinterpret_cast<const unsigned char*>(bytes.data()) + OffsetField(bytes));
    bytes[offset + 4] = '#';
    ASSERT_TRUE(WriteWholeFile(installer.path, bytes));
    EXPECT_FALSE(ReadConfigRecord(installer.path, record));
}

TEST(ExtractArchiveToTemp, CopiesTheArchiveToAUniqueTemporaryZipThatGoesWithItsHandle) {
    BuiltInstaller installer;
    ASSERT_TRUE(installer.Build());
    TempArchive firstArchive, secondArchive;
    ASSERT_EQ(Extract(installer.path, firstArchive), kSetupOk);
    ASSERT_EQ(Extract(installer.path, secondArchive), kSetupOk);
    const std::wstring first = firstArchive.path, second = secondArchive.path;
    EXPECT_NE(first, second);
    std::wstring temp = GetTempFolder();
    ASSERT_EQ(first.size(), temp.size() + 1 + 16 + 4);
    EXPECT_EQ(first.compare(0, temp.size() + 1, temp + L"\\"), 0) << first;
    EXPECT_EQ(first.find_first_not_of(L"0123456789ABCDEF", temp.size() + 1), temp.size() + 17) << first;
    EXPECT_EQ(first.substr(first.size() - 4), L".zip");

    // While it is held, a reader that does not share deletion cannot open it.
    std::string copied;
    EXPECT_TRUE(test::Exists(first));
    EXPECT_FALSE(ReadWholeFile(first, copied));
    copied = TakeTempBytes(firstArchive);
    EXPECT_FALSE(test::Exists(first)) << "the archive outlived its handle";
    ByteSlice archive = ArchiveOf(installer.bytes);
    EXPECT_EQ(copied, installer.bytes.substr(size_t(archive.start), size_t(archive.length)));

    // minizip reads the copy and finds the Chinese entry under its code-page name.
    zlib_filefunc64_def functions = MemoryZipFunctions(&copied);
    unzFile zip = unzOpen2_64("", &functions);
    ASSERT_TRUE(zip);
    EXPECT_EQ(unzLocateFile(zip, test::Utf8(L"data/子目录/模拟器.txt").c_str(), 1), UNZ_END_OF_LIST_OF_FILE)
        << "names are stored in code page 936, not UTF-8";
    std::string gbkName = "data/\xD7\xD3\xC4\xBF\xC2\xBC/\xC4\xA3\xC4\xE2\xC6\xF7.txt";
    EXPECT_EQ(unzLocateFile(zip, gbkName.c_str(), 1), UNZ_OK);
    unzClose(zip);
    secondArchive = TempArchive();
    EXPECT_FALSE(test::Exists(second));
}

TEST(ExtractArchiveToTemp, SignatureAfterTheArchiveIsIgnored) {
    BuiltInstaller installer;
    ASSERT_TRUE(installer.Build());
    ASSERT_TRUE(WriteWholeFile(installer.path, installer.bytes + std::string(2048, '\x30')));
    TempArchive temp;
    ASSERT_EQ(Extract(installer.path, temp), kSetupOk);
    ByteSlice archive = ArchiveOf(installer.bytes);
    EXPECT_EQ(TakeTempBytes(temp), installer.bytes.substr(size_t(archive.start), size_t(archive.length)));
}

TEST(ExtractArchiveToTemp, LayoutFaultsGiveTheirCodes) {
    BuiltInstaller installer;
    ASSERT_TRUE(installer.Build());
    const std::string good = installer.bytes;
    const size_t field = OffsetField(good);
    const uint32_t offset = ReadLe32(reinterpret_cast<const unsigned char*>(good.data()) + field);
    const uint32_t recordLength = ReadLe32(reinterpret_cast<const unsigned char*>(good.data()) + offset);
    const size_t archiveField = offset + 4 + recordLength;
    const uint32_t archiveLength = ReadLe32(reinterpret_cast<const unsigned char*>(good.data()) + archiveField);
    auto codeFor = [&](const std::string& bytes) {
        EXPECT_TRUE(WriteWholeFile(installer.path, bytes));
        TempArchive temp;
        int code = Extract(installer.path, temp);
        EXPECT_TRUE(temp.path.empty());
        EXPECT_FALSE(temp.file);
        return code;
    };
    std::string bytes = good;
    Patch32(bytes, field, 0);
    EXPECT_EQ(codeFor(bytes), kSetupBadPackage) << "offset 0";
    bytes = good;
    Patch32(bytes, field, uint32_t(good.size() + 1));
    EXPECT_EQ(codeFor(bytes), kSetupBadPackage) << "offset past the end";
    bytes = good;
    Patch32(bytes, offset, uint32_t(good.size() - offset - 4 + 1));
    EXPECT_EQ(codeFor(bytes), kSetupBadRecord) << "record one byte too long";
    bytes = good;
    Patch32(bytes, offset, 0xFFFFFFFFu);
    EXPECT_EQ(codeFor(bytes), kSetupBadRecord) << "record length near 4 GiB";
    bytes = good;
    Patch32(bytes, archiveField, archiveLength + 1);
    EXPECT_EQ(codeFor(bytes), kSetupBadArchive) << "archive one byte too long";
    bytes = good;
    Patch32(bytes, archiveField, 0xFFFFFFFFu);
    EXPECT_EQ(codeFor(bytes), kSetupBadArchive) << "archive length near 4 GiB";
    EXPECT_EQ(codeFor(good.substr(0, good.size() - 1)), kSetupBadArchive) << "truncated archive";
    TempArchive temp;
    EXPECT_EQ(Extract(test::StubProgram(), temp), kSetupBadPackage) << "a plain program";
    EXPECT_EQ(Extract(installer.folder / L"missing.exe", temp), kSetupBadPackage) << "missing file";
}

TEST(ExtractArchiveToTemp, UnwritableTemporaryFolderIsCodeSixAndLeavesNothing) {
    BuiltInstaller installer;
    ASSERT_TRUE(installer.Build());
    std::wstring missing = installer.folder / L"no temp here";
    TempArchive temp;
    int code = 0;
    {
        test::ScopedTempFolder elsewhere(missing);
        code = Extract(installer.path, temp);
    }
    EXPECT_EQ(code, kSetupWriteTemp);
    EXPECT_TRUE(temp.path.empty());
    EXPECT_FALSE(test::Exists(missing));
}

}  // namespace
}  // namespace kestro
