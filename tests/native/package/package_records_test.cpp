#include "setup/package/package_records.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

PackageConfig Config(const char* text) {
    PackageConfig config;
    EXPECT_TRUE(JValue::Parse(text, config.record)) << text;
    return config;
}

TEST(PackageConfigRecord, ModeDecidesInstallerOrUninstaller) {
    EXPECT_FALSE(Config("{\"channel\":1}").HasMode());
    EXPECT_TRUE(Config("{\"mode\":0}").IsUninstaller());
    EXPECT_FALSE(Config("{\"mode\":2}").IsUninstaller());
    EXPECT_FALSE(Config("{\"mode\":1}").IsUninstaller());
}

TEST(UninstallRecordPaths, Base64PathsDecodeToUtf8) {
    UninstallRecord record;
    record.record = JValue::Object();
    JValue files = JValue::Array();
    files.Append(UninstallRecord::EncodePath("C:\\Kestro\\模拟器.exe"));
    files.Append(UninstallRecord::EncodePath("C:\\Kestro\\a b\\c"));
    record.record.Set(UninstallRecord::kFiles, files);
    JValue setup = JValue::Object();
    setup.Set(UninstallRecord::kRoot, UninstallRecord::EncodePath("C:\\Kestro"));
    record.record.Set(UninstallRecord::kSetup, setup);
    EXPECT_EQ(record.Files(), (std::vector<std::string>{"C:\\Kestro\\模拟器.exe", "C:\\Kestro\\a b\\c"}));
    EXPECT_TRUE(record.Folders().empty());
    EXPECT_EQ(record.Root(), "C:\\Kestro");
}

}  // namespace
}  // namespace kestro
