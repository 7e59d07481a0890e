#include "uikit/core/skin_tree.h"

#include <gtest/gtest.h>

#include "services/base/utf8.h"

namespace kestro {
namespace {

JValue Parse(const char* text) {
    JValue v;
    EXPECT_TRUE(JValue::Parse(text, v)) << text;
    return v;
}

const char* kDescription = R"({
  "cfg": {"MainWindow": {"PublishBtn": {"size": [165, 181, 200, 48]}},
          "Meta": {"shadeleft": {"bi": 117}}},
  "res": {"images": [{"id": 117, "name": "frame.png"}, {"id": "118", "name": "x"}, {"id": 150, "name": "gone"}],
          "fonts": [{"id": 116.9, "name": "f"}, {"id": true, "name": "b"}]}
})";

TEST(SkinTree, LeadingAndDoubledSlashesFindTheSameNode) {
    const JValue cfg = Parse(kDescription)["cfg"];
    auto a = FindSkinNode(cfg, "/Meta/shadeleft");
    auto b = FindSkinNode(cfg, "Meta/shadeleft");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(*a, *b);
    EXPECT_EQ((*a)["bi"].AsInt(), 117);
    auto c = FindSkinNode(cfg, "MainWindow//PublishBtn");
    ASSERT_TRUE(c);
    EXPECT_EQ(SkinRect((*c)["size"])[3], 48);
    EXPECT_FALSE(FindSkinNode(cfg, "MainWindow/Missing"));
    EXPECT_FALSE(FindSkinNode(cfg, "MainWindow/PublishBtn/size/0"));
    auto self = FindSkinNode(cfg, "");
    ASSERT_TRUE(self);
    EXPECT_EQ(*self, cfg);
}

TEST(SkinTree, DirectoryTakesIdsByTheJValueRulesAndSkipsIdsWithoutBlobs) {
    const std::map<uint32_t, std::string> blobs{{117, "a"}, {118, "b"}, {116, "f"}, {1, "bool"}, {999, "orphan"}};
    const SkinDirectory dir = BuildSkinDirectory(Parse(kDescription), blobs);
    ASSERT_EQ(dir.count("images"), 1u);
    EXPECT_EQ(dir.at("images").size(), 2u);  // 150 has no blob
    EXPECT_EQ(dir.at("images").at(118), "b");
    EXPECT_EQ(dir.at("fonts").at(116), "f");   // real truncated
    EXPECT_EQ(dir.at("fonts").at(1), "bool");  // boolean as 1
    EXPECT_TRUE(BuildSkinDirectory(JValue(), blobs).empty());
}

TEST(SkinTree, GettersAnswerWrongShapesWithZeros) {
    EXPECT_EQ(SkinInt(Parse("12")), 12);
    EXPECT_EQ(SkinInt(Parse("\"12\"")), 0);
    EXPECT_EQ(SkinInt(Parse("1.5")), 0);
    EXPECT_EQ(SkinInt(JValue()), 0);
    EXPECT_EQ(SkinRect(Parse("[1,2,3]")), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(SkinRect(Parse("[1,2,3,4,5]")), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(SkinRect(Parse("[-40,10,34,28]")), (std::array<int, 4>{-40, 10, 34, 28}));
    EXPECT_EQ(SkinPoint(Parse("[3,4]")), (std::array<int, 2>{3, 4}));
    EXPECT_EQ(SkinPoint(Parse("{\"a\":1}")), (std::array<int, 2>{0, 0}));
    EXPECT_EQ(SkinColor(Parse("[255,104,37]")), 0x002568FFu);
    EXPECT_EQ(SkinColor(Parse("[255,104]")), 0u);
}

TEST(SkinTree, SkinTextIsBase64OfUtf8) {
    // "安 装"
    EXPECT_EQ(DecodeSkinText("5a6JIOijhQ=="), u"安 装");
    EXPECT_EQ(DecodeSkinText(""), u"");
    EXPECT_EQ(Utf16FromUtf8("a\xF0\x9F\x98\x80" "b"), u"a\U0001F600b");
    EXPECT_EQ(Utf16FromUtf8("\xE5\xAE"), u"\xFFFD");
    EXPECT_EQ(Utf16FromUtf8("\xC0\xAFx"), u"\xFFFDx");
}

}  // namespace
}  // namespace kestro
