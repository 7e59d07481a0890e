#include "tools/uirpack/uirpack_core.h"

#include <gtest/gtest.h>

#include <map>

#include "uikit/core/skin_package.h"

namespace kestro {
namespace {

// A PNG header of a 94 x 94 image: enough for the size read-out.
std::string PngHeader(uint32_t w, uint32_t h) {
    std::string b("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (uint32_t v : {w, h})
        for (int s = 24; s >= 0; s -= 8) b.push_back(char((v >> s) & 0xFF));
    return b + std::string(5, '\0');
}

const char* kDescription = R"({
  // designer's comment
  "cfg": {"MainWindow": {"title": {"size": [13, 0, 200, 40]}}},
  "res": {"images": [{"id": 117, "name": "frame.png"}], "fonts": [{"id": 116, "name": "text.json"}]}
})";

std::map<std::string, std::string> Files() {
    return {{"frame.png", PngHeader(94, 94)}, {"text.json", R"({"Height":-14})"}};
}

BlobReader ReaderOf(const std::map<std::string, std::string>& files) {
    return [files](const std::string& name, std::string& bytes) {
        auto it = files.find(name);
        if (it == files.end()) return false;
        bytes = it->second;
        return true;
    };
}

TEST(Uirpack, BuildStoresCompactDescriptionAndEveryBlobById) {
    std::string package, error;
    ASSERT_TRUE(BuildUirPackage(kDescription, ReaderOf(Files()), package, error)) << error;
    SkinPackage parsed;
    ASSERT_EQ(ParseSkinPackage(package.data(), package.size(), parsed), SkinPackageError::None);
    EXPECT_EQ(parsed.description.back(), '\0');
    EXPECT_EQ(parsed.description[parsed.description.size() - 2], '\n');
    EXPECT_EQ(parsed.description.find("designer"), std::string::npos);
    const auto blobs = SkinBlobTable(parsed);
    EXPECT_EQ(blobs.at(117), PngHeader(94, 94));
    EXPECT_EQ(blobs.at(116), R"({"Height":-14})");
}

TEST(Uirpack, InspectListsBlobsWithCategoryAndPngSize) {
    std::string package, listing, error;
    ASSERT_TRUE(BuildUirPackage(kDescription, ReaderOf(Files()), package, error));
    ASSERT_TRUE(InspectUirPackage(package, listing, error));
    EXPECT_NE(listing.find("117  images  " + std::to_string(PngHeader(94, 94).size()) + " bytes  PNG 94 x 94"),
              std::string::npos)
        << listing;
    EXPECT_NE(listing.find("116  fonts  14 bytes"), std::string::npos) << listing;
    EXPECT_NE(listing.find("\"title\""), std::string::npos);
    EXPECT_FALSE(InspectUirPackage("RIFF....", listing, error));
    EXPECT_NE(error.find(".uir"), std::string::npos);
}

TEST(Uirpack, ExtractGivesBackTheSourceFolder) {
    std::string package, error;
    ASSERT_TRUE(BuildUirPackage(kDescription, ReaderOf(Files()), package, error));
    std::vector<ExtractedFile> files;
    ASSERT_TRUE(ExtractUirPackage(package, files, error));
    std::map<std::string, std::string> folder;
    for (const auto& f : files) folder[f.name] = f.bytes;
    ASSERT_EQ(folder.size(), 3u);
    EXPECT_EQ(folder["frame.png"], Files()["frame.png"]);
    // Rebuilding from the extracted folder gives the same package.
    std::string again;
    ASSERT_TRUE(BuildUirPackage(folder[kSkinDescriptionFile], ReaderOf(folder), again, error)) << error;
    EXPECT_EQ(again, package);
}

TEST(Uirpack, ExtractNeverWritesOutsideTheFolder) {
    SkinPackage p;
    p.description = R"({"res":{"images":[{"id":1,"name":"../evil.png"},{"id":2,"name":"skin.json"}]}})";
    p.records = {{1, "a"}, {2, "b"}, {3, "c"}};
    std::vector<ExtractedFile> files;
    std::string error;
    ASSERT_TRUE(ExtractUirPackage(WriteSkinPackage(p), files, error));
    ASSERT_EQ(files.size(), 4u);
    EXPECT_EQ(files[1].name, "blob-1.bin");
    EXPECT_EQ(files[2].name, "blob-2.bin");
    EXPECT_EQ(files[3].name, "blob-3.bin");
}

TEST(Uirpack, BuildRefusesBadSourcesWithAMessage) {
    std::string package, error;
    EXPECT_FALSE(BuildUirPackage("{", ReaderOf(Files()), package, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(BuildUirPackage(R"({"res":{}})", ReaderOf(Files()), package, error));
    EXPECT_NE(error.find("cfg"), std::string::npos);
    EXPECT_FALSE(BuildUirPackage(R"({"cfg":{},"res":{"images":[{"id":5,"name":"missing.png"}]}})",
                                 ReaderOf(Files()), package, error));
    EXPECT_NE(error.find("missing.png"), std::string::npos);
    EXPECT_FALSE(BuildUirPackage(
        R"({"cfg":{},"res":{"images":[{"id":5,"name":"frame.png"}],"fonts":[{"id":5,"name":"text.json"}]}})",
        ReaderOf(Files()), package, error));
    EXPECT_NE(error.find("twice"), std::string::npos);
    EXPECT_FALSE(BuildUirPackage(R"({"cfg":{},"res":{"images":[{"id":5,"name":"../frame.png"}]}})",
                                 ReaderOf(Files()), package, error));
    EXPECT_FALSE(BuildUirPackage(R"({"cfg":{},"res":{"images":[{"id":-1,"name":"frame.png"}]}})",
                                 ReaderOf(Files()), package, error));
}

TEST(Uirpack, PngSizeNeedsARealHeader) {
    uint32_t w = 0, h = 0;
    EXPECT_TRUE(ReadPngSize(PngHeader(3, 70000), w, h));
    EXPECT_EQ(h, 70000u);
    EXPECT_FALSE(ReadPngSize("GIF89a", w, h));
    EXPECT_FALSE(ReadPngSize(PngHeader(1, 1).substr(0, 20), w, h));
}

}  // namespace
}  // namespace kestro
