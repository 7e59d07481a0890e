#include "uikit/skin/ui_resource.h"

#include <gtest/gtest.h>

#include "test_images.h"
#include "tests/win/support/test_files.h"
#include "uikit/core/skin_package.h"
#include "uikit/core/ui_messages.h"

namespace kestro {
namespace {

using test::RgbAt;

std::string Package(const std::string& description, std::vector<std::pair<uint32_t, std::string>> records) {
    SkinPackage p;
    p.description = description + "\n";
    p.description.push_back('\0');
    p.records = std::move(records);
    return WriteSkinPackage(p);
}

// Image 100: 10 x 32 opaque red PNG; image 101: 24-bit; font 116: -21 px; font 117: underline.
std::string SamplePackage() {
    const std::string red = test::EncodePng(10, 32, true, [](int, int) { return 0xFFFF0000u; });
    const std::string keyed = test::EncodePng(4, 4, false, [](int, int) { return 0xFF00FFu; });
    const char* desc = R"({
      "cfg": {
        "MainWindow": {
          "PublishBtn": {"id": 7, "size": [165, 181, 200, 48],
            "normal": {"bi": 100, "bg": [0, 0, 10, 32], "mg": [4, 4, 4, 4], "md": 3, "bc": [1, 2, 3]},
            "fgonly": {"fi": 101, "fg": [0, 0, 4, 4], "fc": [255, 0, 255], "al": 64, "of": [1, -1]},
            "broken": {"bi": 150, "bg": [0, 0, 10, 32]},
            "Text": {"normal": {"ft": 116, "cr": 8355711, "al": 37, "of": [1, 2], "tx": "5a6JIOijhQ=="},
                     "plain": {"ft": 0, "cr": 16777215}}
          },
          "odd": {"three": [1, 2, 3], "color": [255, 104, 37], "point": [4, 5], "text": "x"}
        },
        "Meta": {"shadeleft": {"bi": 100, "bg": [0, 0, 10, 32]}}
      },
      "res": {"images": [{"id": 100, "name": "a.png"}, {"id": 101, "name": "b.png"}, {"id": 150, "name": "c.png"}],
              "fonts": [{"id": 116, "name": "f"}, {"id": 117, "name": "u"}, {"id": 118, "name": "bad"}]}
    })";
    return Package(desc, {{100, red}, {101, keyed}, {150, "garbage"},
                          {116, R"({"Height":-21,"CharSet":134})"}, {117, R"({"Underline":1,"Weight":0})"},
                          {118, "{oops"}});
}

TEST(UIResourceTest, LoadsAPackageAndAnswersLookUpsByPath) {
    UIResource r;
    const std::string bytes = SamplePackage();
    ASSERT_TRUE(r.LoadFromBuffer(bytes.data(), bytes.size()));
    EXPECT_EQ(r.BlobCount("images"), 3u);
    EXPECT_EQ(r.BlobCount("fonts"), 3u);
    EXPECT_EQ(r.GetInt("MainWindow/PublishBtn/id", nullptr), 7);
    EXPECT_EQ(r.GetInt("/MainWindow//PublishBtn/id", nullptr), 7);
    auto node = r.FindNode("MainWindow/PublishBtn", nullptr);
    ASSERT_TRUE(node);
    EXPECT_EQ(r.GetRect("size", &*node), (std::array<int, 4>{165, 181, 200, 48}));
    EXPECT_EQ(r.GetRect("MainWindow/odd/three", nullptr), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(r.GetColor("MainWindow/odd/color", nullptr), RGB(255, 104, 37));
    EXPECT_EQ(r.GetColor("MainWindow/odd/three", nullptr), RGB(1, 2, 3));
    EXPECT_EQ(r.GetColor("MainWindow/odd/point", nullptr), 0u);
    EXPECT_EQ(r.GetPoint("MainWindow/odd/point", nullptr).y, 5);
    EXPECT_EQ(r.GetPoint("MainWindow/odd/color", nullptr).x, 0);
    EXPECT_EQ(r.GetInt("MainWindow/odd/text", nullptr), 0);
    EXPECT_EQ(r.GetInt("Nowhere", nullptr), 0);
    std::string data;
    EXPECT_TRUE(r.GetData("images", 100, data));
    EXPECT_EQ(data.substr(1, 3), "PNG");
    EXPECT_FALSE(r.GetData("fonts", 999, data));
    EXPECT_FALSE(r.GetData("sounds", 100, data));
}

TEST(UIResourceTest, ImageStylesCarryTheirKeysOnlyWhenTheImageDecodes) {
    UIResource r;
    const std::string bytes = SamplePackage();
    ASSERT_TRUE(r.LoadFromBuffer(bytes.data(), bytes.size()));
    const ImageStyle normal = r.GetImageStyle("MainWindow/PublishBtn/normal", nullptr);
    ASSERT_NE(normal.image, nullptr);
    EXPECT_EQ(normal.image->width, 10);
    EXPECT_EQ(normal.h, 32);
    EXPECT_EQ(normal.marginRight, 4);
    EXPECT_EQ(normal.mode, 3);
    EXPECT_EQ(normal.colorKey, RGB(1, 2, 3));
    EXPECT_EQ(normal.fgImage, nullptr);
    // The same image object is shared by every style that names it.
    EXPECT_EQ(r.GetImageStyle("/Meta/shadeleft", nullptr).image, normal.image);

    const ImageStyle fg = r.GetImageStyle("MainWindow/PublishBtn/fgonly", nullptr);
    EXPECT_EQ(fg.image, nullptr);
    EXPECT_EQ(fg.w, 0);
    ASSERT_NE(fg.fgImage, nullptr);
    EXPECT_EQ(fg.fgImage->bitsPerPixel, 24);
    EXPECT_EQ(fg.fgPlacement, 64);
    EXPECT_EQ(fg.fgDy, -1);
    EXPECT_EQ(fg.fgColorKey, RGB(255, 0, 255));

    const ImageStyle broken = r.GetImageStyle("MainWindow/PublishBtn/broken", nullptr);
    EXPECT_EQ(broken.image, nullptr);
    EXPECT_EQ(broken.w, 0);  // "bg" is not read for an image that does not decode
    EXPECT_EQ(r.GetImage(150, true), nullptr);
    EXPECT_EQ(r.GetImage(999, true), nullptr);
}

// A run that draws nothing decodes nothing; what is drawn after all is drawn as decoded at once.
TEST(UIResourceTest, ImagesDecodedOnFirstUseAreDecodedWhenFirstDrawn) {
    UIResource r;
    const std::string bytes = SamplePackage();
    ASSERT_TRUE(r.LoadFromBuffer(bytes.data(), bytes.size()));
    r.DecodeImagesOnFirstUse();
    const ImageStyle normal = r.GetImageStyle("MainWindow/PublishBtn/normal", nullptr);
    ASSERT_NE(normal.image, nullptr);
    EXPECT_EQ(normal.image->width, 0);
    EXPECT_EQ(normal.image->GetDib(), nullptr);
    EXPECT_EQ(normal.h, 32);

    CHBitmap target;
    ASSERT_TRUE(target.Create(10, 32, 32));
    HDC dc = target.AcquireDc();
    ASSERT_NE(dc, nullptr);
    PaintImageStyle(RECT{0, 0, 10, 32}, normal, dc);
    GdiFlush();
    target.ReleaseDc();
    EXPECT_EQ(normal.image->width, 10);
    EXPECT_EQ(RgbAt(target, 5, 16), 0xFF0000u);

    // Data that does not decode is handed out too, and draws nothing.
    const ImageStyle broken = r.GetImageStyle("MainWindow/PublishBtn/broken", nullptr);
    ASSERT_NE(broken.image, nullptr);
    EXPECT_EQ(broken.image->AcquireDc(), nullptr);
    EXPECT_FALSE(broken.image->DecodePending());
}

TEST(UIResourceTest, TextStylesDecodeTheirTextAndFonts) {
    UIResource r;
    const std::string bytes = SamplePackage();
    ASSERT_TRUE(r.LoadFromBuffer(bytes.data(), bytes.size()));
    const TextStyle t = r.GetTextStyle("MainWindow/PublishBtn/Text/normal", nullptr);
    EXPECT_EQ(t.text, L"安 装");
    EXPECT_EQ(t.color, 8355711u);
    EXPECT_EQ(t.align, 37u);
    EXPECT_EQ(t.dx, 1);
    EXPECT_EQ(t.dy, 2);
    ASSERT_NE(t.font, nullptr);
    LOGFONTW lf{};
    GetObjectW(t.font, sizeof(lf), &lf);
    EXPECT_EQ(lf.lfHeight, -21);
    EXPECT_EQ(lf.lfCharSet, 134);
    // No face name in the record: the system's icon-title face and weight stay.
    LOGFONTW system{};
    SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(system), &system, 0);
    EXPECT_STREQ(lf.lfFaceName, system.lfFaceName);
    EXPECT_EQ(lf.lfWeight, system.lfWeight);

    HFONT underline = r.GetFont(117);
    ASSERT_NE(underline, nullptr);
    GetObjectW(underline, sizeof(lf), &lf);
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_EQ(lf.lfWeight, system.lfWeight);  // "Weight" 0 keeps the system weight
    EXPECT_EQ(r.GetFont(117), underline);     // cached
    HFONT unparsed = r.GetFont(118);          // the system font as is
    ASSERT_NE(unparsed, nullptr);
    EXPECT_EQ(r.GetFont(0), nullptr);
    EXPECT_EQ(r.GetFont(999), nullptr);
    EXPECT_EQ(r.GetTextStyle("MainWindow/PublishBtn/Text/plain", nullptr).font, nullptr);
    const TextStyle missing = r.GetTextStyle("MainWindow/none", nullptr);
    EXPECT_EQ(missing.font, nullptr);
    EXPECT_TRUE(missing.text.empty());
    EXPECT_EQ(r.GetDefaultFont(), r.GetDefaultFont());
    EXPECT_NE(r.GetDefaultBoldFont(), r.GetDefaultFont());
}

TEST(UIResourceTest, ABadReloadKeepsTheLoadedPackage) {
    UIResource r;
    const std::string bytes = SamplePackage();
    ASSERT_TRUE(r.LoadFromBuffer(bytes.data(), bytes.size()));
    for (size_t i = 0; i < 4; ++i) {
        std::string bad = bytes;
        bad[i] = 'X';
        EXPECT_FALSE(r.LoadFromBuffer(bad.data(), bad.size()));
    }
    std::string longDescription = bytes;
    longDescription[7] = char(0x7F);  // description length far past the end
    EXPECT_FALSE(r.LoadFromBuffer(longDescription.data(), longDescription.size()));
    EXPECT_FALSE(r.LoadFromBuffer(bytes.data(), bytes.size() - 1));  // last record cut short
    EXPECT_FALSE(r.LoadFromBuffer(nullptr, 0));
    EXPECT_EQ(r.GetInt("MainWindow/PublishBtn/id", nullptr), 7);
    EXPECT_EQ(r.BlobCount("images"), 3u);
    // A description that does not parse still loads: every look-up is then empty.
    const std::string junk = Package("{not json", {{100, "x"}});
    EXPECT_TRUE(r.LoadFromBuffer(junk.data(), junk.size()));
    EXPECT_EQ(r.GetInt("MainWindow/PublishBtn/id", nullptr), 0);
    EXPECT_EQ(r.BlobCount("images"), 0u);
}

TEST(UIResourceTest, LoadsFromAFileAndRefusesMissingSources) {
    UIResource r;
    test::ScratchFolder folder(L"kestro_uir");
    const std::wstring path = folder / L"skin.uir";
    ASSERT_TRUE(test::WriteBytes(path, SamplePackage()));
    EXPECT_TRUE(r.LoadFromFile(path.c_str()));
    EXPECT_EQ(r.GetInt("MainWindow/PublishBtn/id", nullptr), 7);
    DeleteFileW(path.c_str());
    EXPECT_FALSE(r.LoadFromFile(path.c_str()));
    EXPECT_FALSE(r.LoadFromResource(GetModuleHandleW(nullptr), L"UIR", 4242));
}

TEST(UIResourceTest, LoadsTheDefaultSkinFromTheProgramsOwnResource) {
    // This test program carries the default skin as resource "UIR" 129, as the installer does.
    UIResource r;
    ASSERT_TRUE(r.LoadFromResource(GetModuleHandleW(nullptr), L"UIR", 129));
    EXPECT_EQ(r.GetRect("MainWindow/SysBtns/Close/size", nullptr), (std::array<int, 4>{-40, 10, 34, 28}));
    CHBitmap* atlas = r.GetImageStyle("/Meta/shadeleft", nullptr).image;
    ASSERT_NE(atlas, nullptr);
    EXPECT_EQ(atlas->width, 94);
    EXPECT_EQ(atlas->height, 94);
}

TEST(UIResourceTest, TintRecoloursCachedImagesAndZeroTintRestoresThem) {
    UIResource r;
    const std::string bytes = SamplePackage();
    ASSERT_TRUE(r.LoadFromBuffer(bytes.data(), bytes.size()));
    CHBitmap* red = r.GetImage(100, true);
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(r.TintColor(RGB(255, 0, 0)), RGB(255, 0, 0));  // no tint: unchanged
    ASSERT_TRUE(r.SetTint(120, 0, 0));
    EXPECT_EQ(r.GetHue(), 120);
    EXPECT_EQ(RgbAt(*red, 3, 3), 0x00FF00u);  // same bitmap object, now green
    EXPECT_EQ(r.TintColor(RGB(255, 0, 0)), RGB(0, 255, 0));
    // Images decoded while a tint is active are tinted on arrival when tintable.
    CHBitmap* keyed = r.GetImage(101, false);
    ASSERT_NE(keyed, nullptr);
    EXPECT_EQ(RgbAt(*keyed, 0, 0), 0xFF00FFu);
    ASSERT_TRUE(r.SetTint(0, -100, 0));
    EXPECT_EQ(RgbAt(*red, 0, 0), 0x7F7F7Fu);  // from the untinted copy, not from green
    ASSERT_TRUE(r.SetTint(0, 0, 0));
    EXPECT_EQ(RgbAt(*red, 0, 0), 0xFF0000u);
    EXPECT_EQ(r.TintColor(RGB(1, 2, 3)), RGB(1, 2, 3));
}

struct SkinChangedCounter {
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        if (m == UIM_SKINCHANGED) ++count;
        return DefWindowProcW(w, m, wp, lp);
    }
    static int count;
};
int SkinChangedCounter::count = 0;

TEST(UIResourceTest, SetTintTellsEveryWindowOfTheThread) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &SkinChangedCounter::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KestroTintProbe";
    RegisterClassW(&wc);
    HWND top = CreateWindowW(L"KestroTintProbe", L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance, nullptr);
    HWND child = CreateWindowW(L"KestroTintProbe", L"", WS_CHILD, 0, 0, 10, 10, top, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(top && child);
    SkinChangedCounter::count = 0;
    UIResource r;
    r.SetTint(10, 0, 0);
    EXPECT_EQ(SkinChangedCounter::count, 2);
    DestroyWindow(top);
}

}  // namespace
}  // namespace kestro
