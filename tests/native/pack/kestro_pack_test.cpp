#include "unzip.h"

#include "tools/kestro-pack/pack_command.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "memory_zip_io.h"
#include "package_builder.h"
#include "setup/package/package_layout.h"
#include "setup/package/package_records.h"

namespace kestro {
namespace {
namespace fs = std::filesystem;

const char kRecord[] =
    "{\"channel\":30001,\"lastrun\":\"KestroGC.exe\",\"mode\":1,\"shortcut\":{\"desktop\":[{\"file\":\"KestroGC.exe\","
    "\"name\":\"Kestro 模拟器\"}]},\"theme\":\"default\"}";

std::string ProgramImage() {
    std::string image(0x400, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    WriteLe32(reinterpret_cast<unsigned char*>(&image[kLfanewPosition]), 0x80);
    image.replace(0x80, 4, std::string("PE\0\0", 4));
    return image;
}

void Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

uint32_t Crc(const std::string& bytes) {
    return uint32_t(crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), uInt(bytes.size())));
}

class KestroPack : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::path(::testing::TempDir()) /
                ("kestro_pack_" + std::to_string(getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "out");
        Write(root_ / "stub.exe", ProgramImage());
        Write(root_ / "record.json", kRecord);
        product_ = root_ / "product";
        Write(product_ / "KestroGC.exe", "program");
        Write(product_ / fs::u8path("data/子目录/模拟器.txt"), "中文内容");
        Write(product_ / "data/b.bin", std::string(100000, '\x5A'));
        fs::create_directories(product_ / "empty");
    }
    void TearDown() override { fs::remove_all(root_); }

    int Run(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        return RunKestroPack(args, out_, err_);
    }
    int Build(const fs::path& program, const fs::path& config, const fs::path& product, const fs::path& output) {
        return Run({"build", "--program", program.u8string(), "--config", config.u8string(), "--product",
                    product.u8string(), "-o", output.u8string()});
    }
    int BuildDefault() { return Build(root_ / "stub.exe", root_ / "record.json", product_, Output()); }
    fs::path Output() const { return root_ / "out" / "setup.exe"; }

    // The failure contract: exit 1, one line on stderr, nothing left in the output folder.
    void ExpectCleanFailure(int code, const std::string& fragment) {
        EXPECT_EQ(code, 1);
        std::string message = err_.str();
        EXPECT_EQ(message.rfind("kestro-pack: ", 0), 0u) << message;
        EXPECT_NE(message.find(fragment), std::string::npos) << message;
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
        EXPECT_TRUE(fs::is_empty(root_ / "out")) << "partial output left behind";
    }

    fs::path root_;
    fs::path product_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(KestroPack, BuildThenInspectRoundTripsNestedFoldersAndChineseNames) {
    ASSERT_EQ(BuildDefault(), 0) << err_.str();
    std::string package = Read(Output());
    auto codec = MakeSystemNameCodec();
    Inspection inspection;
    std::string error;
    ASSERT_TRUE(InspectPackage(package, *codec, 936, inspection, error)) << error;
    EXPECT_EQ(inspection.offset, ProgramImage().size());
    EXPECT_FALSE(inspection.uninstaller);
    JValue expected;
    ASSERT_TRUE(JValue::Parse(kRecord, expected));
    EXPECT_EQ(inspection.record, expected);
    std::vector<std::string> names;
    for (const auto& e : inspection.entries) names.push_back(e.name);
    EXPECT_EQ(names, (std::vector<std::string>{"KestroGC.exe", "data/", "data/b.bin", "data/子目录/",
                                               "data/子目录/模拟器.txt", "empty/"}));
    EXPECT_TRUE(inspection.entries[1].folder);
    EXPECT_FALSE(inspection.entries[2].folder);
    EXPECT_EQ(inspection.entries[2].size, 100000u);
    EXPECT_EQ(inspection.entries[2].crc, Crc(std::string(100000, '\x5A')));
    EXPECT_EQ(inspection.entries[4].crc, Crc("中文内容"));
    // The record is carried byte for byte, right after the image.
    EXPECT_EQ(package.substr(0x400 + 4, sizeof kRecord - 1), kRecord);
    EXPECT_EQ(package.substr(0, 0x7C), ProgramImage().substr(0, 0x7C));
}

TEST_F(KestroPack, NamesAreStoredInCodePage936WithoutTheUtf8Flag) {
    ASSERT_EQ(BuildDefault(), 0) << err_.str();
    std::string package = Read(Output());
    MemoryByteSource source(package);
    uint32_t offset = 0;
    ByteSlice record, archive;
    ASSERT_EQ(LocateInstallerPayload(source, offset, record, archive), kSetupOk);
    std::string zip = package.substr(size_t(archive.start), size_t(archive.length));
    zlib_filefunc64_def functions = MemoryZipFunctions(&zip);
    unzFile file = unzOpen2_64("", &functions);
    ASSERT_TRUE(file);
    ASSERT_EQ(unzLocateFile(file, "data/\xD7\xD3\xC4\xBF\xC2\xBC/\xC4\xA3\xC4\xE2\xC6\xF7.txt", 1), UNZ_OK);
    unz_file_info64 info;
    ASSERT_EQ(unzGetCurrentFileInfo64(file, &info, nullptr, 0, nullptr, 0, nullptr, 0), UNZ_OK);
    EXPECT_EQ(info.flag & 0x800, 0u);
    EXPECT_EQ(info.dosDate, (1u << 21) | (1u << 16));
    unzClose(file);
}

TEST_F(KestroPack, SecondRunGivesTheSameBytesWhateverTheFileTimes) {
    ASSERT_EQ(BuildDefault(), 0);
    std::string first = Read(Output());
    fs::last_write_time(product_ / "KestroGC.exe", fs::file_time_type::clock::now() - std::chrono::hours(50));
    ASSERT_EQ(BuildDefault(), 0);
    EXPECT_EQ(Read(Output()), first);
}

TEST_F(KestroPack, AnotherCodePageCanBeChosenAndUnwritableNamesAreRefused) {
    Write(product_ / fs::u8path("한국어.txt"), "x");
    ExpectCleanFailure(BuildDefault(), "code page 936");
    ASSERT_EQ(Run({"build", "--program", (root_ / "stub.exe").string(), "--config", (root_ / "record.json").string(),
                   "--product", product_.string(), "-o", Output().string(), "--codepage", "65001"}),
              0)
        << err_.str();
    ASSERT_EQ(Run({"inspect", "--codepage", "65001", Output().string()}), 0) << err_.str();
    EXPECT_NE(out_.str().find("한국어.txt"), std::string::npos);
}

TEST_F(KestroPack, InspectJsonDescribesTheInstaller) {
    ASSERT_EQ(BuildDefault(), 0);
    ASSERT_EQ(Run({"inspect", "--json", Output().string()}), 0) << err_.str();
    JValue report;
    ASSERT_TRUE(JValue::Parse(out_.str(), report));
    EXPECT_EQ(report["kind"].AsText(), "installer");
    EXPECT_EQ(report["offset"].AsInt(), 0x400);
    EXPECT_EQ(report["record"]["mode"].AsInt(), 1);
    EXPECT_EQ(report["archive"]["entries"].Size(), 6u);
    EXPECT_EQ(report["archive"]["entries"].At(4)["name"].AsText(), "data/子目录/模拟器.txt");
    EXPECT_EQ(report["archive"]["entries"].At(0)["crc"].AsText().size(), 8u);
}

TEST_F(KestroPack, InspectDecodesAnUninstallersPaths) {
    JValue record = JValue::Object();
    record.Set(UninstallRecord::kMode, 0);
    JValue files = JValue::Array();
    files.Append(UninstallRecord::EncodePath("C:\\Kestro\\模拟器.exe"));
    record.Set(UninstallRecord::kFiles, files);
    JValue setup = JValue::Object();
    setup.Set(UninstallRecord::kRoot, UninstallRecord::EncodePath("C:\\Kestro"));
    record.Set(UninstallRecord::kSetup, setup);
    std::string package, error;
    ASSERT_TRUE(AssemblePackage(ProgramImage(), record.WriteCompact(), nullptr, package, error)) << error;
    Write(root_ / "unins000.exe", package);
    ASSERT_EQ(Run({"inspect", (root_ / "unins000.exe").string()}), 0) << err_.str();
    EXPECT_NE(out_.str().find("kind: uninstaller"), std::string::npos);
    EXPECT_NE(out_.str().find("root: C:\\Kestro\n"), std::string::npos);
    EXPECT_NE(out_.str().find("  C:\\Kestro\\模拟器.exe\n"), std::string::npos) << out_.str();
}

TEST_F(KestroPack, BuildRefusesBadProgramImages) {
    Write(root_ / "text.exe", "just text, no header");
    ExpectCleanFailure(Build(root_ / "text.exe", root_ / "record.json", product_, Output()), "not a Windows program");
    std::string noSignature = ProgramImage();
    noSignature[0x80] = 'X';
    Write(root_ / "nosig.exe", noSignature);
    ExpectCleanFailure(Build(root_ / "nosig.exe", root_ / "record.json", product_, Output()), "PE signature");
    std::string lfanewPastEnd = ProgramImage();
    WriteLe32(reinterpret_cast<unsigned char*>(&lfanewPastEnd[kLfanewPosition]), 0xFFFFFFF0u);
    Write(root_ / "far.exe", lfanewPastEnd);
    ExpectCleanFailure(Build(root_ / "far.exe", root_ / "record.json", product_, Output()), "PE signature");
    ExpectCleanFailure(Build(root_ / "missing.exe", root_ / "record.json", product_, Output()), "program image");
    ASSERT_EQ(BuildDefault(), 0);
    fs::rename(Output(), root_ / "packaged.exe");
    ExpectCleanFailure(Build(root_ / "packaged.exe", root_ / "record.json", product_, Output()), "already");
}

TEST_F(KestroPack, BuildRefusesBadRecordsAndFolders) {
    Write(root_ / "broken.json", "{\"mode\":1");
    ExpectCleanFailure(Build(root_ / "stub.exe", root_ / "broken.json", product_, Output()), "not a JSON object");
    Write(root_ / "nomode.json", "{\"channel\":1}");
    ExpectCleanFailure(Build(root_ / "stub.exe", root_ / "nomode.json", product_, Output()), "no \"mode\"");
    ExpectCleanFailure(Build(root_ / "stub.exe", root_ / "record.json", root_ / "absent", Output()), "does not exist");
    ExpectCleanFailure(Build(root_ / "stub.exe", root_ / "record.json", root_ / "stub.exe", Output()), "does not exist");
}

TEST_F(KestroPack, BuildRefusesNamesWindowsWouldMisreadAndLinks) {
    Write(product_ / "a\\..\\..\\evil.txt", "x");
    ExpectCleanFailure(BuildDefault(), "name not allowed");
    fs::remove(product_ / "a\\..\\..\\evil.txt");
    fs::create_symlink("/etc", product_ / "link");
    ExpectCleanFailure(BuildDefault(), "symbolic link");
}

TEST_F(KestroPack, FailedBuildKeepsAnExistingOutputAndSuccessReplacesIt) {
    Write(Output(), "previous");
    Write(root_ / "nomode.json", "{}");
    EXPECT_EQ(Build(root_ / "stub.exe", root_ / "nomode.json", product_, Output()), 1);
    EXPECT_EQ(Read(Output()), "previous");
    ASSERT_EQ(BuildDefault(), 0);
    EXPECT_EQ(Read(Output()).substr(0, 2), "MZ");
    EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "out"), fs::directory_iterator()), 1);
    // An output that cannot be replaced leaves no temporary file.
    fs::create_directories(root_ / "out" / "dir.exe");
    EXPECT_EQ(Build(root_ / "stub.exe", root_ / "record.json", product_, root_ / "out" / "dir.exe"), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "out"), fs::directory_iterator()), 2);
}

TEST_F(KestroPack, InspectReportsDamagedPackagesWithOneMessage) {
    ASSERT_EQ(BuildDefault(), 0);
    const std::string good = Read(Output());
    const fs::path bad = root_ / "bad.exe";
    auto inspectFails = [&](const std::string& bytes, const std::string& fragment) {
        Write(bad, bytes);
        EXPECT_EQ(Run({"inspect", bad.string()}), 1) << fragment;
        EXPECT_NE(err_.str().find(fragment), std::string::npos) << err_.str();
        EXPECT_EQ(out_.str(), "");
    };
    inspectFails(ProgramImage(), "not a package");
    inspectFails(good.substr(0, 0x402), "record length");
    inspectFails(good.substr(0, 0x400 + 4 + sizeof kRecord - 1 + 2), "archive length");
    inspectFails(good.substr(0, good.size() - 1), "archive length");
    std::string corrupt = good;
    corrupt[corrupt.size() - 200] ^= 0x55;  // inside the central directory or data
    Write(bad, corrupt);
    EXPECT_EQ(Run({"inspect", bad.string()}), 1);
    std::string noMode = good;
    noMode.replace(0x400 + 4 + std::string(kRecord).find("\"mode\""), 6, "\"node\"");
    inspectFails(noMode, "no \"mode\"");
    std::string garbageRecord = good;
    garbageRecord[0x400 + 4] = '#';
    inspectFails(garbageRecord, "not a JSON object");
    // A signature appended after the archive changes nothing.
    Write(bad, good + std::string(512, '\x30'));
    EXPECT_EQ(Run({"inspect", bad.string()}), 0) << err_.str();
    // Every truncation fails cleanly or reads the intact prefix.
    for (size_t cut = 0; cut < good.size(); cut += 997) {
        Write(bad, good.substr(0, cut));
        EXPECT_EQ(Run({"inspect", bad.string()}), 1) << cut;
    }
}

TEST_F(KestroPack, UsageErrorsExitWithTwo) {
    EXPECT_EQ(Run({}), 2);
    EXPECT_EQ(Run({"pack"}), 2);
    EXPECT_EQ(Run({"build", "--program"}), 2);
    EXPECT_EQ(Run({"build", "--program", "a", "--config", "b", "--product", "c"}), 2);
    EXPECT_EQ(Run({"inspect"}), 2);
    EXPECT_EQ(Run({"inspect", "--codepage", "x", "f"}), 2);
}

}  // namespace
}  // namespace kestro
