// The default skin built from skin/ provides every node the installer window and
// the frame read, with the geometry they rely on.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tools/uirpack/uirpack_core.h"
#include "uikit/core/font_record.h"
#include "uikit/core/skin_package.h"
#include "uikit/core/skin_tree.h"

namespace kestro {
namespace {

class DefaultSkin : public ::testing::Test {
protected:
    void SetUp() override {
        std::ifstream in(KESTRO_DEFAULT_SKIN_PATH, std::ios::binary);
        ASSERT_TRUE(in) << KESTRO_DEFAULT_SKIN_PATH;
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_EQ(ParseSkinPackage(bytes.data(), bytes.size(), package), SkinPackageError::None);
        std::string text = package.description;
        ASSERT_EQ(text.substr(text.size() - 2), std::string("\n\0", 2));
        ASSERT_TRUE(JValue::Parse(text.substr(0, text.size() - 1), description));
        directory = BuildSkinDirectory(description, SkinBlobTable(package));
        cfg = description["cfg"];
    }
    JValue Node(const char* path) {
        auto node = FindSkinNode(cfg, path);
        EXPECT_TRUE(node) << path;
        return node ? *node : JValue();
    }
    // The image a style names decodes as a PNG large enough for its source rectangle.
    void ExpectImageStyle(const char* path, bool foreground = false) {
        const JValue style = Node(path);
        const int id = style[foreground ? "fi" : "bi"].AsInt();
        ASSERT_TRUE(directory["images"].count(id)) << path;
        uint32_t w = 0, h = 0;
        ASSERT_TRUE(ReadPngSize(directory["images"][id], w, h)) << path;
        const auto src = SkinRect(style[foreground ? "fg" : "bg"]);
        EXPECT_GT(src[2], 0) << path;
        EXPECT_GT(src[3], 0) << path;
        EXPECT_LE(uint32_t(src[0] + src[2]), w) << path;
        EXPECT_LE(uint32_t(src[1] + src[3]), h) << path;
    }
    SkinPackage package;
    JValue description, cfg;
    SkinDirectory directory;
};

TEST_F(DefaultSkin, HasTheInstallerAndFrameNodes) {
    for (const char* pane : {"Pane1", "Pane2", "Pane3", "Pane4", "Pane5", "Pane6", "Pane7"})
        ExpectImageStyle((std::string("MainWindow/") + pane + "/bkgnd").c_str());
    for (const char* button : {"PublishBtn", "ButtonOK", "ButtonBrowser"})
        for (const char* state : {"normal", "lighted", "pressed", "grayed"})
            ExpectImageStyle((std::string("MainWindow/") + button + "/" + state).c_str());
    for (const char* state : {"normal", "lighted", "pressed", "grayed"}) {
        ExpectImageStyle((std::string("MainWindow/CheckBox/") + state).c_str(), true);
        ExpectImageStyle((std::string("MainWindow/SysBtns/Close/") + state).c_str());
    }
    for (const char* side : {"Top", "Left", "Right", "Bottom"}) {
        ExpectImageStyle((std::string("MainWindow/Frames/") + side + "/normal").c_str());
        ExpectImageStyle((std::string("MainWindow/Frames/") + side + "/grayed").c_str());
    }
    for (const char* path : {"MainWindow/Client/bkgnd", "MainWindow/LinePane/bkgnd", "MainWindow/EditBoxPath/bkgnd",
                             "MainWindow/EditBoxPath1/bkgnd", "MainWindow/Progress/bkgnd", "MainWindow/Progress/frgnd",
                             "MainWindow/UninstallProgress/bkgnd", "MainWindow/UninstallProgress/frgnd"})
        ExpectImageStyle(path);
    for (const char* path : {"MainWindow/title/text", "MainWindow/Label1/text", "MainWindow/Label2/text",
                             "MainWindow/WordBtn/Text/normal", "MainWindow/WordBtn2/Text/normal",
                             "MainWindow/ReturnBtn/Text/normal"})
        EXPECT_TRUE(FindSkinNode(cfg, path)) << path;
}

TEST_F(DefaultSkin, FrameAtlasAndShadowsHaveTheirFixedGeometry) {
    uint32_t w = 0, h = 0;
    ASSERT_TRUE(ReadPngSize(directory["images"][117], w, h));
    EXPECT_EQ(w, 94u);
    EXPECT_EQ(h, 94u);
    EXPECT_EQ(SkinRect(Node("MainWindow/Frames/Top/normal")["bg"]), (std::array<int, 4>{27, 22, 40, 40}));
    EXPECT_EQ(SkinRect(Node("MainWindow/Frames/Left/normal")["bg"]), (std::array<int, 4>{27, 22, 1, 40}));
    EXPECT_EQ(SkinRect(Node("MainWindow/Frames/Right/normal")["bg"]), (std::array<int, 4>{66, 22, 1, 40}));
    EXPECT_EQ(SkinRect(Node("MainWindow/Frames/Bottom/normal")["bg"]), (std::array<int, 4>{27, 61, 40, 1}));
    EXPECT_EQ(SkinRect(Node("/Meta/shadeleft")["bg"]), (std::array<int, 4>{0, 22, 27, 40}));
    EXPECT_EQ(SkinRect(Node("/Meta/shaderight")["bg"]), (std::array<int, 4>{67, 22, 27, 40}));
    EXPECT_EQ(SkinRect(Node("/Meta/shadetop")["mg"]), (std::array<int, 4>{46, 0, 46, 0}));
    EXPECT_EQ(SkinRect(Node("/Meta/shadebottom")["bg"]), (std::array<int, 4>{0, 62, 94, 32}));
    EXPECT_EQ(SkinRect(Node("/Meta/shadeleft")["mg"]), (std::array<int, 4>{0, 19, 0, 19}));
    EXPECT_EQ(SkinRect(Node("MainWindow/SysBtns/Close/size")), (std::array<int, 4>{-40, 10, 34, 28}));
    EXPECT_FALSE(FindSkinNode(cfg, "MainWindow/SysBtns/Restore"));
}

TEST_F(DefaultSkin, StateStripsSitAtTheirRowsAndTextUsesTheShippedFlags) {
    const int rows[] = {1, 30, 59, 88};
    const char* states[] = {"normal", "lighted", "pressed", "grayed"};
    for (int i = 0; i < 4; ++i) {
        const auto ok = SkinRect(Node((std::string("MainWindow/ButtonOK/") + states[i]).c_str())["bg"]);
        EXPECT_EQ(ok, (std::array<int, 4>{0, rows[i], 10, 28}));
        const auto close = SkinRect(Node((std::string("MainWindow/SysBtns/Close/") + states[i]).c_str())["bg"]);
        EXPECT_EQ(close, (std::array<int, 4>{0, rows[i], 34, 28}));
    }
    EXPECT_EQ(SkinRect(Node("MainWindow/ButtonOK/normal")["mg"]), (std::array<int, 4>{4, 4, 4, 4}));
    EXPECT_EQ(SkinRect(Node("MainWindow/EditBoxPath/bkgnd")["bg"]), (std::array<int, 4>{0, 0, 10, 32}));
    EXPECT_EQ(SkinRect(Node("MainWindow/EditBoxPath/Text/margin")), (std::array<int, 4>{8, 5, 8, 5}));
    EXPECT_EQ(Node("MainWindow/ButtonOK/Text/normal")["cr"].AsInt(), 8355711);
    EXPECT_EQ(Node("MainWindow/ButtonOK/Text/lighted")["cr"].AsInt(), 16777215);
    EXPECT_EQ(Node("MainWindow/ButtonOK/Text/normal")["al"].AsInt(), 37);
    EXPECT_EQ(Node("MainWindow/CheckBox/Text/normal")["al"].AsInt(), 36);
}

TEST_F(DefaultSkin, FontRecordsUseTheChineseCharacterSet) {
    EXPECT_EQ(directory["fonts"].size(), 3u);
    for (const auto& font : directory["fonts"]) {
        FontRecord record;
        ASSERT_TRUE(ParseFontRecord(font.second, record));
        EXPECT_EQ(record.charSet, 134);
        EXPECT_TRUE(record.height == -14 || record.height == -21 || record.underline == 1);
    }
    EXPECT_TRUE(directory["fonts"].count(Node("MainWindow/ButtonOK/Text/normal")["ft"].AsInt()));
}

}  // namespace
}  // namespace kestro
