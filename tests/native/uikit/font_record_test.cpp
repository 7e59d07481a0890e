#include "uikit/core/font_record.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

TEST(FontRecord, MissingMembersReadAsZeroAndFaceNameIsDecoded) {
    FontRecord r;
    // "微软雅黑"
    ASSERT_TRUE(ParseFontRecord(R"({"Height":-14,"CharSet":134,"PitchAndFamily":34,"FaceName":"5b6u6L2v6ZuF6buR"})", r));
    EXPECT_EQ(r.height, -14);
    EXPECT_EQ(r.weight, 0);
    EXPECT_EQ(r.charSet, 134);
    EXPECT_EQ(r.pitchAndFamily, 34);
    EXPECT_EQ(r.faceName, u"微软雅黑");
}

TEST(FontRecord, FaceNamesLongerThan31UnitsAreCut) {
    FontRecord r;
    // 40 letters "A".
    ASSERT_TRUE(ParseFontRecord(
        R"({"FaceName":"QUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQQ=="})", r));
    EXPECT_EQ(r.faceName.size(), kMaxFaceNameLength);
}

TEST(FontRecord, TextThatDoesNotParseIsRefused) {
    FontRecord r;
    r.height = 5;
    EXPECT_FALSE(ParseFontRecord("{not json", r));
    EXPECT_FALSE(ParseFontRecord("", r));
    EXPECT_EQ(r.height, 5);
}

}  // namespace
}  // namespace kestro
