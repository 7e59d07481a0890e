#include "uikit/core/skin_package.h"

#include <gtest/gtest.h>

#include <string>

namespace kestro {
namespace {

SkinPackage Sample() {
    SkinPackage p;
    p.description = std::string("{\"cfg\":{}}\n", 11) + '\0';
    p.records = {{100, "png-bytes"}, {116, "{\"Height\":-14}"}};
    return p;
}

std::string PutU32(std::string bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
    return bytes;
}

TEST(SkinPackage, WrittenPackageReadsBackRecordByRecord) {
    const std::string bytes = WriteSkinPackage(Sample());
    EXPECT_EQ(bytes.substr(0, 4), ".uir");
    SkinPackage read;
    ASSERT_EQ(ParseSkinPackage(bytes.data(), bytes.size(), read), SkinPackageError::None);
    EXPECT_EQ(read.description, Sample().description);
    ASSERT_EQ(read.records.size(), 2u);
    EXPECT_EQ(read.records[0].first, 100u);
    EXPECT_EQ(read.records[1].second, "{\"Height\":-14}");
    EXPECT_EQ(bytes.size(), 4 + 4 + 12 + 4 + (8 + 9) + (8 + 14));
}

TEST(SkinPackage, AnyWrongMagicByteIsRefusedAndLeavesTheOutputAlone) {
    const std::string good = WriteSkinPackage(Sample());
    for (size_t i = 0; i < 4; ++i) {
        std::string bad = good;
        bad[i] ^= 0x20;
        SkinPackage out;
        out.description = "kept";
        EXPECT_EQ(ParseSkinPackage(bad.data(), bad.size(), out), SkinPackageError::BadMagic) << i;
        EXPECT_EQ(out.description, "kept");
    }
    SkinPackage out;
    EXPECT_EQ(ParseSkinPackage(".ui", 3, out), SkinPackageError::BadMagic);
    EXPECT_EQ(ParseSkinPackage(nullptr, 0, out), SkinPackageError::BadMagic);
}

TEST(SkinPackage, LengthsThatRunPastTheBufferAreRefused) {
    const std::string good = WriteSkinPackage(Sample());
    SkinPackage out;
    // Description length past the end, including one that wraps 32-bit arithmetic.
    EXPECT_EQ(ParseSkinPackage(PutU32(good, 4, 0xFFFFFFF8u).data(), good.size(), out), SkinPackageError::Truncated);
    EXPECT_EQ(ParseSkinPackage(PutU32(good, 4, uint32_t(good.size())).data(), good.size(), out),
              SkinPackageError::Truncated);
    // Record count larger than the records present.
    const size_t countAt = 8 + 12;
    EXPECT_EQ(ParseSkinPackage(PutU32(good, countAt, 3).data(), good.size(), out), SkinPackageError::Truncated);
    EXPECT_EQ(ParseSkinPackage(PutU32(good, countAt, 0xFFFFFFFFu).data(), good.size(), out),
              SkinPackageError::Truncated);
    // A record length one byte too long, and one that would wrap.
    const size_t lengthAt = countAt + 4 + 4;
    EXPECT_EQ(ParseSkinPackage(PutU32(good, lengthAt, 9 + 8 + 14 + 1).data(), good.size(), out),
              SkinPackageError::Truncated);
    EXPECT_EQ(ParseSkinPackage(PutU32(good, lengthAt, 0xFFFFFFFFu).data(), good.size(), out),
              SkinPackageError::Truncated);
    // Cut anywhere inside the structure.
    for (size_t cut = 4; cut < good.size(); ++cut)
        EXPECT_EQ(ParseSkinPackage(good.data(), cut, out), SkinPackageError::Truncated) << cut;
    EXPECT_TRUE(out.records.empty());
}

TEST(SkinPackage, LaterRecordWithTheSameIdWinsInTheBlobTable) {
    SkinPackage p;
    p.records = {{7, "first"}, {8, "other"}, {7, "second"}};
    const auto table = SkinBlobTable(p);
    EXPECT_EQ(table.size(), 2u);
    EXPECT_EQ(table.at(7), "second");
}

}  // namespace
}  // namespace kestro
