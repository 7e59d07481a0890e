// The pages of both modes: every control by kind, skin path, text and place.
#include "setup/app/cl_hubshell.h"
#include "services/config/product_title.h"
#include "setup/window/page_rules.h"
#include "setup/workers/install_plan.h"
#include "setup/workers/uninstall_worker.h"
#include "setup/workers/worker_system.h"
#include "uikit/controls/ui_button.h"
#include "uikit/controls/ui_check_box.h"
#include "uikit/controls/ui_label.h"
#include "uikit/controls/ui_pane.h"
#include "uikit/controls/ui_progress.h"
#include "uikit/edit/cx_edit.h"
#include "uikit/edit/cx_edit_ctrl.h"

namespace kestro {
namespace {

// Plain offsets from the parent's top-left corner.
constexpr int kAnchorOffsets = 1;

const wchar_t kInstallText[] = L"安 装";
const wchar_t kUpdateText[] = L"立即升级";
const wchar_t kCustomLinkText[] = L"自定义安装>";
const wchar_t kAgreementText[] = L"同意";
const wchar_t kTermsText[] = L"用户许可协议";
const wchar_t kBrowseText[] = L"浏览";
const wchar_t kDesktopText[] = L"创建桌面图标";
const wchar_t kBackText[] = L"返回";
const wchar_t kQuickLaunchText[] = L"添加到快速启动栏";
const wchar_t kFinishText[] = L"立即体验";
const wchar_t kRetryText[] = L"重试";
const wchar_t kReasonCaption[] = L"请选择卸载原因：";
const wchar_t kUninstallText[] = L"卸载";
const wchar_t kCancelText[] = L"取消";
const wchar_t kEmulatorText[] = L"卸载模拟器";
const wchar_t kEmulatorDataText[] = L"同时删除游戏数据";
const wchar_t* const kReasonTexts[] = {L"下载模拟器失败", L"启动游戏太慢", L"游戏闪退", L"运行多开游戏不流畅会卡",
                                       L"安装失败"};
const wchar_t kDoneText[] = L"卸载完成";

}  // namespace

template <class T>
T* CLHubshell::AddControl(UIObject* parent, const char* path) {
    T* control = new T();
    control->Load(&skin_, path, nullptr);
    parent->AddChild(control);
    // A skin node without a size fills its page (the page backgrounds, the labels).
    // The parent's laid-out size, which holds before the window has its own.
    const RECT box = control->GetLayoutRect();
    const RECT area = parent->GetLayoutRect();
    if ((box.right <= 0 || box.bottom <= 0) && area.right > 0 && area.bottom > 0) {
        control->SetPos(area.right, area.bottom, 0, 0);
    }
    return control;
}

template <class T>
T* CLHubshell::AddPlaced(UIObject* parent, const char* path, int x, int y, int width, int height) {
    T* control = AddControl<T>(parent, path);
    control->SetPos(width, height, x, y);
    return control;
}

UICheckBox* CLHubshell::AddCheckBox(UIObject* parent, const wchar_t* text, bool checked, int x, int y, int width,
                                    int height) {
    auto* box = AddPlaced<UICheckBox>(parent, "MainWindow/CheckBox", x, y, width, height);
    box->SetText(text);
    box->SetCheck(checked);
    return box;
}

UIPane* CLHubshell::NewPage(bool shown) {
    auto* page = new UIPane();
    AddChild(page);
    page->SetAnchorMode(kAnchorOffsets);
    page->SetPos(kPageWidth, kPageHeight, 0, kPageTop);
    page->SetVisible(shown);
    return page;
}

void CLHubshell::BuildTitle() {
    title_ = AddPlaced<UILabel>(this, "MainWindow/title", 13, 0, 200, 40);
    title_->SetText(config::kProductTitle);
}

void CLHubshell::BuildInstallPages() {
    statusLabel_ = AddControl<UILabel>(this, "MainWindow/Label1");
    statusLabel_->SetVisible(false);

    installPage_ = NewPage(true);
    AddControl<UIPane>(installPage_, "MainWindow/Pane1");
    installButtonA_ = AddControl<UIButton>(installPage_, "MainWindow/PublishBtn");
    installButtonA_->SetText(update_ ? kUpdateText : kInstallText);
    customLink_ = AddPlaced<UIButton>(installPage_, "MainWindow/WordBtn", 427, 277, 90, 12);
    customLink_->SetText(kCustomLinkText);
    if (update_) customLink_->SetVisible(false);

    customPage_ = NewPage(false);
    pathBox_ = AddControl<CXEdit>(customPage_, "MainWindow/EditBoxPath");
    pathBox_->SetText(host_.targetFolder.c_str());
    installButtonB_ = AddControl<UIButton>(customPage_, "MainWindow/PublishBtn");
    installButtonB_->SetText(update_ ? kUpdateText : kInstallText);
    agreementBox_ = AddCheckBox(customPage_, kAgreementText, true, 366, 115, 45, 12);
    termsLink_ = AddPlaced<UIButton>(customPage_, "MainWindow/WordBtn2", 405, 115, 80, 12);
    termsLink_->SetText(kTermsText);
    browseButton_ = AddControl<UIButton>(customPage_, "MainWindow/ButtonBrowser");
    browseButton_->SetText(kBrowseText);
    desktopBox_ = AddCheckBox(customPage_, kDesktopText, true, 54, 115, 120, 12);
    backLink_ = AddPlaced<UIButton>(customPage_, "MainWindow/ReturnBtn", 10, 275, 50, 16);
    backLink_->SetText(kBackText);
    quickLaunchBox_ = AddCheckBox(customPage_, kQuickLaunchText, true, 210, 115, 120, 12);
    if (SkipsTaskbarStep(ReportedMajorVersion())) {
        quickLaunchBox_->SetCheck(false);
        quickLaunchBox_->SetVisible(false);
    }

    progressPage_ = NewPage(false);
    AddControl<UIPane>(progressPage_, "MainWindow/Pane2");
    progress_ = AddPlaced<UIProgress>(progressPage_, "MainWindow/Progress", 0, 297, 528, 3);
    progress_->SetRange(0, 100);
    progress_->SetProgressPos(0);

    finishPage_ = NewPage(false);
    AddControl<UIPane>(finishPage_, "MainWindow/Pane6");
    finishButton_ = AddControl<UIButton>(finishPage_, "MainWindow/PublishBtn");
    finishButton_->SetText(kFinishText);

    retryPage_ = NewPage(false);
    AddControl<UIPane>(retryPage_, "MainWindow/Pane7");
    retryButton_ = AddControl<UIButton>(retryPage_, "MainWindow/PublishBtn");
    retryButton_->SetText(kRetryText);
}

void CLHubshell::BuildUninstallPages() {
    reasonPage_ = NewPage(true);
    AddControl<UIPane>(reasonPage_, "MainWindow/Pane4");
    AddControl<UIPane>(reasonPage_, "MainWindow/LinePane");
    AddPlaced<UILabel>(reasonPage_, "MainWindow/Label2", 20, 2, 200, 20)->SetText(kReasonCaption);
    uninstallButton_ = AddPlaced<UIButton>(reasonPage_, "MainWindow/ButtonOK", 347, 258, 74, 28);
    uninstallButton_->SetText(kUninstallText);
    cancelButton_ = AddPlaced<UIButton>(reasonPage_, "MainWindow/ButtonOK", 434, 258, 74, 28);
    cancelButton_->SetText(kCancelText);
    const bool emulatorChecked = EmulatorBoxesStartChecked();
    emulatorBox_ = AddCheckBox(reasonPage_, kEmulatorText, emulatorChecked, 21, 267, 115, 12);
    emulatorDataBox_ = AddCheckBox(reasonPage_, kEmulatorDataText, emulatorChecked, 142, 267, 155, 12);
    emulatorDataBox_->SetEnabled(emulatorChecked);
    for (int i = 0; i < kReasonCount; ++i) {
        reasonBoxes_.push_back(AddCheckBox(reasonPage_, kReasonTexts[i], false, 40, 40 + 30 * i, 250, 12));
    }
    freeText_ = AddControl<CXEditCtrl>(reasonPage_, "MainWindow/EditBoxPath1");

    uninstallPage_ = NewPage(false);
    AddControl<UIPane>(uninstallPage_, "MainWindow/Pane5");
    progress_ = AddPlaced<UIProgress>(uninstallPage_, "MainWindow/UninstallProgress", 55, 203, 420, 2);
    progress_->SetRange(0, 100);
    progress_->SetProgressPos(0);
    statusLabel_ = AddPlaced<UILabel>(uninstallPage_, "MainWindow/Label1", 0, 212, 528, 20);

    donePage_ = NewPage(false);
    AddControl<UIPane>(donePage_, "MainWindow/Pane3");
    doneButton_ = AddControl<UIButton>(donePage_, "MainWindow/PublishBtn");
    doneButton_->SetText(kDoneText);
}

}  // namespace kestro
