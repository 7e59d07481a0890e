// Every control of the toolkit in one skinned frame window with its drop shadows:
// for looking at (screenshots under Xvfb) and for smoke tests.
//   ui_gallery.exe [--skin PACKAGE] [--exit-after MS]
// With a skin package (the default skin), the frame, its shadows and the controls
// that package defines come from it; the others come from the built-in sample skin.
#include <windows.h>
#include <shellapi.h>

#include <array>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "services/win/unique_handle.h"
#include "tests/win/uicontrols/sample_skin.h"
#include "uikit/controls/ui_button.h"
#include "uikit/controls/ui_check_box.h"
#include "uikit/controls/ui_drop_button.h"
#include "uikit/controls/ui_label.h"
#include "uikit/controls/ui_progress.h"
#include "uikit/controls/ui_radio_box.h"
#include "uikit/controls/ui_tab_ctrl.h"
#include "uikit/controls/ui_tool_bar.h"
#include "uikit/edit/control_factory.h"
#include "uikit/edit/cx_edit.h"
#include "uikit/edit/cx_edit_ctrl.h"
#include "uikit/frame/cl_shadow_wnd.h"
#include "uikit/frame/ui_frame_window.h"
#include "uikit/lists/ui_list_view.h"
#include "uikit/skin/ui_resource.h"
#include "uikit/window/ch_app.h"

namespace kestro {
namespace {

constexpr int kGalleryWidth = 530;
constexpr int kGalleryHeight = 430;
constexpr UINT_PTR kExitTimer = 1;

class GalleryWindow : public UIFrameWindow {
public:
    LRESULT OnWindowPosChanging(WPARAM wParam, LPARAM lParam) override {
        if (lParam) shadows.Follow(hwnd_, *reinterpret_cast<const WINDOWPOS*>(lParam));
        return UIFrameWindow::OnWindowPosChanging(wParam, lParam);
    }
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam) override {
        shadows.Destroy();
        PostQuitMessage(0);
        return UIFrameWindow::OnDestroy(wParam, lParam);
    }
    DropShadows shadows;
};

class GalleryApp : public CHApp {
public:
    explicit GalleryApp(std::wstring skinPath) : skinPath_(std::move(skinPath)) {}
    bool InitInstance() override;
    void ExitInstance() override { window_.reset(); }

private:
    template <class T>
    T* Add(int type, const char* path, UIObject* parent = nullptr) {
        return static_cast<T*>(CreateChild(type, &skin_, parent ? parent : window_.get(), path, &*node_));
    }
    // A control from the package given on the command line when it defines `mainPath`,
    // else from the sample skin; placed where the sample skin places `sampleName`.
    template <class T>
    T* AddStyled(int type, const char* sampleName, const char* mainPath) {
        if (!mainSkin_ || !mainSkin_->FindNode(mainPath, nullptr)) return Add<T>(type, sampleName);
        T* control = static_cast<T*>(CreateChild(type, mainSkin_.get(), window_.get(), mainPath, nullptr));
        const std::array<int, 4> slot = skin_.GetRect((std::string(sampleName) + "/size").c_str(), &*node_);
        control->SetPos(slot[2], slot[3], slot[0], slot[1]);
        return control;
    }
    template <class T>
    T* NewStyled(const char* sampleName, const char* mainPath) {
        auto* control = new T();
        if (mainSkin_ && mainSkin_->FindNode(mainPath, nullptr)) {
            control->Load(mainSkin_.get(), mainPath, nullptr);
            window_->AddChild(control);
            const std::array<int, 4> slot = skin_.GetRect((std::string(sampleName) + "/size").c_str(), &*node_);
            control->SetPos(slot[2], slot[3], slot[0], slot[1]);
        } else {
            control->Load(&skin_, sampleName, &*node_);
            window_->AddChild(control);
        }
        return control;
    }
    void Fill();

    std::wstring skinPath_;
    std::unique_ptr<UIResource> mainSkin_;
    UIResource skin_;
    std::optional<JValue> node_;
    std::unique_ptr<GalleryWindow> window_;
};

bool GalleryApp::InitInstance() {
    const std::string package = sample::BuildSamplePackage();
    if (!skin_.LoadFromBuffer(package.data(), package.size())) return false;
    SetCurrentSkin(&skin_);
    node_ = skin_.FindNode("Gallery", nullptr);
    if (!node_) return false;
    if (!skinPath_.empty()) {
        mainSkin_ = std::make_unique<UIResource>();
        if (!mainSkin_->LoadFromFile(skinPath_.c_str())) return false;
        SetCurrentSkin(mainSkin_.get());
    }
    window_ = std::make_unique<GalleryWindow>();
    if (!window_->Create(WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, L"Kestro 控件", kCHWindowClass,
                         0, 140, 90, nullptr, nullptr, kGalleryWidth, kGalleryHeight))
        return false;
    mainWindow_ = window_.get();
    if (mainSkin_) {
        window_->Load(mainSkin_.get(), "MainWindow", nullptr);
    } else {
        window_->Load(&skin_, "Gallery", nullptr);
    }
    Fill();
    window_->shadows.Create(window_->GetHwnd());
    ShowWindow(window_->GetHwnd(), SW_SHOW);
    RECT r{};
    GetWindowRect(window_->GetHwnd(), &r);
    window_->shadows.PlaceAround(r.left, r.top, r.right - r.left, r.bottom - r.top);
    UpdateWindow(window_->GetHwnd());
    return true;
}

void GalleryApp::Fill() {
    auto* title = Add<UILabel>(kTypeLabel, "Label");
    if (mainSkin_ && mainSkin_->FindNode("MainWindow/title", nullptr)) {
        title->Load(mainSkin_.get(), "MainWindow/title", nullptr);
    } else {
        title->Load(&skin_, "Title", &*node_);
    }
    title->SetPos(300, 40, 14, 0);
    title->SetText(L"Kestro 控件一览");

    AddStyled<UIButton>(kTypeButton, "Button", "MainWindow/ButtonOK")->SetText(L"确 定");
    auto* drop = Add<UIDropButton>(kTypeDropButton, "DropButton");
    drop->SetText(L"更多选项…");
    auto* disabled = AddStyled<UIButton>(kTypeButton, "Button", "MainWindow/ButtonOK");
    disabled->SetPos(-1, -1, 140, 56);
    disabled->SetText(L"不可用");
    disabled->SetEnabled(false);

    auto* check = AddStyled<UICheckBox>(kTypeCheckBox, "CheckBox", "MainWindow/CheckBox");
    check->SetText(L"创建桌面快捷方式");
    check->SetCheck(true);
    auto* checkEx = Add<UICheckBoxEx>(kTypeCheckBoxEx, "CheckBoxEx");
    checkEx->SetText(L"开机时启动");
    auto* radioA = Add<UIRadioBox>(kTypeRadioBox, "Radio");
    radioA->SetText(L"标准安装");
    radioA->SetCheck(true);
    auto* radioB = Add<UIRadioBox>(kTypeRadioBox, "Radio");
    radioB->SetText(L"自定义");
    radioB->SetPos(-1, -1, 140, 182);

    auto* progress = AddStyled<UIProgress>(kTypeProgress, "Progress", "MainWindow/Progress");
    progress->SetRangeDefault();
    progress->SetProgressPos(62);
    auto* percent = Add<UILabel>(kTypeLabel, "Label");
    percent->SetPos(50, 20, 214, 208);
    percent->SetText(L"62%");

    auto* tools = Add<UIToolBar>(kTypeToolBar, "ToolBar");
    tools->SetImageStrip(skin_.GetImage(sample::kToolStrip, true));
    tools->SetItemSize(24, 24);
    tools->SetSpacing(4, 0);
    tools->AddItem(2001, 0, L"停止");
    tools->AddItem(2002, 1, L"开始");
    tools->AddSeparator();
    tools->AddItem(2003, 2, L"播放");
    tools->AddItem(2004, 3, L"添加", false);

    auto* pane = Add<UIObject>(kTypePane, "Pane");
    pane->SetPos(230, 110, 280, 100);
    const wchar_t* lines[] = {L"安装目录：C:\\Games\\Kestro", L"所需空间：512 MB", L"可用空间：20.4 GB"};
    for (int i = 0; i < 3; ++i) {
        auto* label = Add<UILabel>(kTypeLabel, "Label", pane);
        label->SetPos(214, 24, 8, 10 + 30 * i);
        label->SetText(lines[i]);
    }

    auto* tabs = Add<UITabCtrl>(kTypeTabCtrl, "Tabs");
    tabs->AddItem(3001, L"常规");
    tabs->AddItem(3002, L"下载设置");
    tabs->AddItem(3003, L"关于我们");
    tabs->AddItem(3004, L"Advanced settings");
    tabs->SetSelected(1);

    auto* list = Add<UIListView>(kTypeListView, "List");
    list->AddColumn(L"游戏", 150);
    list->AddColumn(L"大小", 70);
    list->AddColumn(L"状态", 50);
    const wchar_t* games[][3] = {{L"王者街机", L"1.2 GB", L"已安装"}, {L"Pixel Racer", L"640 MB", L"更新"},
                                 {L"星际跳跳", L"88 MB", L"下载"},  {L"Dragon Tiles", L"210 MB", L"已安装"},
                                 {L"回合三国", L"2.4 GB", L"下载"},  {L"Snow Bros 2", L"12 MB", L"已安装"},
                                 {L"魔法消除", L"150 MB", L"更新"}};
    for (const auto& g : games) list->AddRow({g[0], g[1], g[2]});
    list->ShowScrollBar(true);
    list->SetSelected(1);

    auto* edit = NewStyled<CXEdit>("Edit", "MainWindow/EditBoxPath");
    edit->SetText(L"C:\\Program Files\\Kestro");

    NewStyled<CXEditCtrl>("EditCtrl", "MainWindow/EditBoxPath1");

    auto* text = Add<UIEditBox>(kTypeEditBox, "TextBox");
    text->SetScrolling(true);
    text->SetText(
        L"欢迎使用 Kestro 游戏中心。\n本程序将安装到您的电脑上。\nThe quick brown fox jumps over the lazy dog.\n"
        L"第四行文字\n第五行文字\n第六行文字\n第七行文字\n第八行文字");
}

void CALLBACK ExitAfter(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }

}  // namespace
}  // namespace kestro

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show) {
    int argc = 0;
    kestro::UniqueLocal arguments(CommandLineToArgvW(GetCommandLineW(), &argc));
    LPWSTR* argv = static_cast<LPWSTR*>(arguments.get());
    std::wstring skin;
    for (int i = 1; argv && i + 1 < argc; ++i) {
        if (wcscmp(argv[i], L"--exit-after") == 0) SetTimer(nullptr, kestro::kExitTimer, UINT(_wtoi(argv[i + 1])), kestro::ExitAfter);
        if (wcscmp(argv[i], L"--skin") == 0) skin = argv[i + 1];
    }
    kestro::GalleryApp app(skin);
    if (!app.Initialize(instance, previous, commandLine, show) || !app.InitInstance()) return 1;
    return app.Run();
}
