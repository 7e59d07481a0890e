// Loads the default skin the way the installer does, decodes every image, and
// renders each installer page and every control state into one picture (kept with
// the test results) so the look can be checked by eye.
#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

#include <string>

#include "services/win/unique_handle.h"
#include "test_images.h"
#include "uikit/skin/gdiplus_session.h"
#include "uikit/skin/ui_resource.h"

namespace kestro {
namespace {

std::wstring WinePath(const char* unixPath) {
    std::wstring out = L"Z:";
    for (const char* p = unixPath; *p; ++p) out.push_back(*p == '/' ? L'\\' : wchar_t(*p));
    return out;
}

class Preview : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(skin.LoadFromFile(WinePath(KESTRO_DEFAULT_SKIN_PATH).c_str()));
        ASSERT_TRUE(canvas.Create(1800, 1300, 24));
        dc = canvas.AcquireDc();
        test::FillSolid(dc, RECT{0, 0, canvas.width, canvas.height}, RGB(0xC4, 0xC9, 0xD2));
    }
    void TearDown() override { canvas.ReleaseDc(); }

    RECT At(int ox, int oy, int x, int y, int w, int h) { return RECT{ox + x, oy + y, ox + x + w, oy + y + h}; }

    // A control with the skin's "size" inside a page at (ox, oy).
    RECT SkinPlace(int ox, int oy, const char* node) {
        auto r = skin.GetRect((std::string("MainWindow/") + node + "/size").c_str(), nullptr);
        return At(ox, oy, r[0], r[1], r[2], r[3]);
    }

    void Button(const char* node, const char* state, const RECT& rect, const wchar_t* caption) {
        const std::string base = std::string("MainWindow/") + node;
        PaintImageStyle(rect, skin.GetImageStyle((base + "/" + state).c_str(), nullptr), dc);
        if (!caption) return;
        auto m = skin.GetRect((base + "/Text/margin").c_str(), nullptr);
        RECT text{rect.left + m[0], rect.top + m[1], rect.right - m[2], rect.bottom - m[3]};
        if (std::string(state) == "pressed") OffsetRect(&text, 1, 1);
        DrawTextStyle(text, caption, dc, &rect, skin.GetTextStyle((base + "/Text/" + state).c_str(), nullptr));
    }
    void Label(const char* node, const RECT& rect, const wchar_t* text) {
        DrawTextStyle(rect, text, dc, &rect, skin.GetTextStyle((std::string("MainWindow/") + node + "/text").c_str(), nullptr));
    }
    void Paint(const char* path, const RECT& rect) { PaintImageStyle(rect, skin.GetImageStyle(path, nullptr), dc); }
    void Progress(const char* node, const RECT& rect, int percent) {
        const std::string base = std::string("MainWindow/") + node;
        Paint((base + "/bkgnd").c_str(), rect);
        RECT fill = rect;
        fill.right = rect.left + (rect.right - rect.left) * percent / 100;
        Paint((base + "/frgnd").c_str(), fill);
    }

    // The frame window with its shadows, the title and the close button; returns the page origin.
    POINT Window(int x, int y) {
        const int W = 528, H = 348;
        Paint("/Meta/shadeleft", RECT{x - 27, y, x, y + H});
        Paint("/Meta/shadetop", RECT{x - 27, y - 22, x + W + 27, y});
        Paint("/Meta/shaderight", RECT{x + W, y, x + W + 27, y + H});
        Paint("/Meta/shadebottom", RECT{x - 27, y + H, x + W + 27, y + H + 32});
        Paint("MainWindow/Client/bkgnd", RECT{x + 1, y + 40, x + W - 1, y + H - 1});
        Paint("MainWindow/Frames/Top/normal", RECT{x, y, x + W, y + 40});
        Paint("MainWindow/Frames/Left/normal", RECT{x, y + 40, x + 1, y + H - 1});
        Paint("MainWindow/Frames/Right/normal", RECT{x + W - 1, y + 40, x + W, y + H - 1});
        Paint("MainWindow/Frames/Bottom/normal", RECT{x, y + H - 1, x + W, y + H});
        Label("title", At(x, y, 13, 0, 200, 40), L"Kestro 模拟器");
        Button("SysBtns/Close", "normal", At(x, y, W - 40, 10, 34, 28), nullptr);
        return POINT{x, y + 48};
    }
    void PageBackground(const char* pane, POINT page) {
        Paint((std::string("MainWindow/") + pane + "/bkgnd").c_str(), At(page.x, page.y, 0, 0, 528, 300));
    }
    void Check(const char* state, int ox, int oy, int x, int y, int w, const wchar_t* text) {
        Button("CheckBox", state, At(ox, oy, x, y, w, 12), text);
    }

    UIResource skin;
    CHBitmap canvas;
    HDC dc = nullptr;
};

bool SavePng(CHBitmap& bitmap, const std::wstring& path) {
    GdiplusScope gdiplus;
    using namespace Gdiplus::DllExports;
    Gdiplus::GpBitmap* image = nullptr;
    BITMAPINFO info{};
    info.bmiHeader = bitmap.header;
    if (GdipCreateBitmapFromGdiDib(&info, bitmap.bits, &image) != Gdiplus::Ok) return false;
    const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    const bool ok = GdipSaveImageToFile(image, path.c_str(), &png, nullptr) == Gdiplus::Ok;
    GdipDisposeImage(image);
    return ok;
}

TEST_F(Preview, EveryImageDecodesAndEveryPageRenders) {
    int decoded = 0;
    for (int id = 100; id <= 120; ++id) {
        std::string bytes;
        if (!skin.GetData("images", id, bytes)) continue;
        CHBitmap* bitmap = skin.GetImage(id, true);
        ASSERT_NE(bitmap, nullptr) << id;
        EXPECT_EQ(bitmap->bitsPerPixel, 32) << id;
        ++decoded;
    }
    EXPECT_EQ(size_t(decoded), skin.BlobCount("images"));
    EXPECT_NE(skin.GetFont(116), nullptr);
    EXPECT_NE(skin.GetFont(118), nullptr);

    // Row 1: install, custom, progress.
    POINT p = Window(40, 40);
    PageBackground("Pane1", p);
    Button("PublishBtn", "normal", SkinPlace(p.x, p.y, "PublishBtn"), L"安 装");
    Button("WordBtn", "normal", At(p.x, p.y, 427, 277, 90, 12), L"自定义安装>");

    p = Window(640, 40);
    Paint("MainWindow/EditBoxPath/bkgnd", SkinPlace(p.x, p.y, "EditBoxPath"));
    {
        RECT box = SkinPlace(p.x, p.y, "EditBoxPath");
        auto m = skin.GetRect("MainWindow/EditBoxPath/Text/margin", nullptr);
        RECT text{box.left + m[0], box.top + m[1], box.right - m[2], box.bottom - m[3]};
        DrawTextStyle(text, L"C:\\Program Files\\Tarnwell\\KestroGC", dc, &box,
                      skin.GetTextStyle("MainWindow/EditBoxPath/Text/normal", nullptr));
    }
    Button("ButtonBrowser", "normal", SkinPlace(p.x, p.y, "ButtonBrowser"), L"浏览");
    Check("pressed", p.x, p.y, 54, 115, 120, L"创建桌面图标");
    Check("pressed", p.x, p.y, 210, 115, 120, L"添加到快速启动栏");
    Check("pressed", p.x, p.y, 366, 115, 45, L"同意");
    Button("WordBtn2", "normal", At(p.x, p.y, 405, 115, 80, 12), L"用户许可协议");
    Button("PublishBtn", "lighted", SkinPlace(p.x, p.y, "PublishBtn"), L"安 装");
    Button("ReturnBtn", "normal", At(p.x, p.y, 10, 275, 50, 16), L"返回");

    p = Window(1240, 40);
    PageBackground("Pane2", p);
    Progress("Progress", At(p.x, p.y, 0, 297, 528, 3), 45);

    // Row 2: finish, retry, uninstall reasons.
    p = Window(40, 470);
    PageBackground("Pane6", p);
    Button("PublishBtn", "normal", SkinPlace(p.x, p.y, "PublishBtn"), L"立即体验");
    p = Window(640, 470);
    PageBackground("Pane7", p);
    Button("PublishBtn", "pressed", SkinPlace(p.x, p.y, "PublishBtn"), L"重试");
    p = Window(1240, 470);
    PageBackground("Pane4", p);
    Paint("MainWindow/LinePane/bkgnd", SkinPlace(p.x, p.y, "LinePane"));
    Label("Label2", At(p.x, p.y, 20, 2, 200, 20), L"请选择卸载原因：");
    const wchar_t* reasons[] = {L"下载模拟器失败", L"启动游戏太慢", L"游戏闪退", L"运行多开游戏不流畅会卡", L"安装失败"};
    for (int i = 0; i < 5; ++i) Check(i == 1 ? "pressed" : i == 3 ? "lighted" : "normal", p.x, p.y, 40, 40 + 30 * i, 250, reasons[i]);
    {
        RECT box = SkinPlace(p.x, p.y, "EditBoxPath1");
        Paint("MainWindow/EditBoxPath1/bkgnd", box);
        RECT cue{box.left + 5, box.top + 1, box.right, box.bottom};
        DrawTextStyle(cue, L"其他原因，请输入", dc, &box, skin.GetTextStyle("MainWindow/EditBoxPath1/Text/grayed", nullptr));
    }
    Check("pressed", p.x, p.y, 21, 267, 115, L"卸载模拟器");
    Check("grayed", p.x, p.y, 142, 267, 155, L"同时删除游戏数据");
    Button("ButtonOK", "lighted", At(p.x, p.y, 347, 258, 74, 28), L"卸载");
    Button("ButtonOK", "normal", At(p.x, p.y, 434, 258, 74, 28), L"取消");

    // Row 3: uninstall progress, done, and every state of every control.
    p = Window(40, 900);
    PageBackground("Pane5", p);
    Progress("UninstallProgress", At(p.x, p.y, 55, 203, 420, 2), 60);
    Label("Label1", At(p.x, p.y, 0, 212, 528, 20), L"正在卸载……");
    p = Window(640, 900);
    PageBackground("Pane3", p);
    Button("PublishBtn", "normal", SkinPlace(p.x, p.y, "PublishBtn"), L"卸载完成");

    const char* states[] = {"normal", "lighted", "pressed", "grayed"};
    test::FillSolid(dc, RECT{1220, 880, 1780, 1270}, RGB(255, 255, 255));
    for (int i = 0; i < 4; ++i) {
        const int x = 1240 + 130 * i;
        Button("PublishBtn", states[i], RECT{x, 900, x + 120, 948}, L"安 装");
        Button("ButtonOK", states[i], RECT{x, 965, x + 74, 993}, L"卸载");
        Button("ButtonBrowser", states[i], RECT{x, 1005, x + 70, 1037}, L"浏览");
        Check(states[i], x, 1050, 0, 0, 110, L"同意");
        Button("WordBtn", states[i], RECT{x, 1075, x + 100, 1087}, L"自定义安装>");
        Button("ReturnBtn", states[i], RECT{x, 1095, x + 60, 1111}, L"返回");
        RECT under{x, 1125, x + 34, 1153};
        test::FillSolid(dc, under, RGB(0x2F, 0x6B, 0xF5));
        Button("SysBtns/Close", states[i], under, nullptr);
    }
    Progress("Progress", RECT{1240, 1170, 1760, 1173}, 70);
    Paint("MainWindow/EditBoxPath/bkgnd", RECT{1240, 1185, 1580, 1217});

    GdiFlush();
    ASSERT_TRUE(SavePng(canvas, WinePath(KESTRO_PREVIEW_PATH)));
}

}  // namespace
}  // namespace kestro
