#include "setup/app/cl_hubshell.h"

#include <shellapi.h>

#include "services/config/maker_addresses.h"
#include "setup/engine/folders.h"
#include "setup/startup/startup_record.h"
#include "setup/window/page_rules.h"
#include "setup/workers/install_root.h"
#include "setup/workers/install_worker.h"
#include "setup/workers/uninstall_worker.h"
#include "uikit/controls/ui_button.h"
#include "uikit/controls/ui_check_box.h"
#include "uikit/controls/ui_label.h"
#include "uikit/controls/ui_pane.h"
#include "uikit/controls/ui_progress.h"
#include "uikit/edit/cx_edit.h"
#include "uikit/edit/cx_edit_ctrl.h"

namespace kestro {
namespace {

constexpr UINT kProgressIntervalMs = 100;
const wchar_t kBadFolderMessage[] = L"安装目录有误, 请重新输入.";
const wchar_t kUninstallFailedMessage[] = L"卸载出现错误, 操作中止.";

WorkerCheckBox BoxState(const UICheckBox* box) {
    return box ? WorkerCheckBox{true, box->GetCheck()} : WorkerCheckBox{};
}

}  // namespace

CLHubshell::CLHubshell() { host_.installThread = &installThread_; }

// The window is gone by now. The thread holders go first: an install still running is
// asked to stop at its next entry, rolls back and ends before what it uses is gone.
CLHubshell::~CLHubshell() {
    installThread_.Stop();
    slideThread_.Stop();
    if (GetCurrentSkin() == &skin_) SetCurrentSkin(nullptr);
}

LRESULT CLHubshell::OnCreate(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = UIFrameWindow::OnCreate(wParam, lParam);
    return RunStartup() ? result : -1;
}

// The install stops from the moment the user closes: taking the window down can take
// seconds (Wine waits for a window manager), and the destructor waits for the thread.
LRESULT CLHubshell::OnClose(WPARAM wParam, LPARAM lParam) {
    installThread_.RequestStop();
    return UIFrameWindow::OnClose(wParam, lParam);
}

LRESULT CLHubshell::OnDestroy(WPARAM wParam, LPARAM lParam) {
    PostQuitMessage(0);
    return UIFrameWindow::OnDestroy(wParam, lParam);
}

LRESULT CLHubshell::OnWindowPosChanging(WPARAM wParam, LPARAM lParam) {
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    // Moves keep the size fields at zero; the shadows follow those too.
    if (shadowsCreated_ && pos) {
        if (IsIconic(hwnd_)) return 0;
        shadows_.Follow(hwnd_, *pos);
    }
    return UIFrameWindow::OnWindowPosChanging(wParam, lParam);
}

LRESULT CLHubshell::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_SETUP_COMPLETE && message != WM_SETUP_FAILED) {
        return UIFrameWindow::DefaultProc(message, wParam, lParam);
    }
    // A quiet run has nothing to show; its outcome is the exit code.
    if (host_.quiet) return 0;
    if (host_.mode != 0) {
        // After a failure the retry page leads back to the install buttons.
        if (message == WM_SETUP_FAILED) operationStarted_ = false;
        QueueTransition(progressPage_, message == WM_SETUP_COMPLETE ? finishPage_ : retryPage_, true);
    } else if (message == WM_SETUP_COMPLETE) {
        QueueTransition(uninstallPage_, donePage_, true);
    }
    return 0;
}

void CLHubshell::TimerTick(UINT_PTR id) {
    if (id != progressTimer_ || !progress_) return;
    int value = 0;
    {
        std::lock_guard<std::recursive_mutex> lock(host_.progressLock);
        value = NextProgressValue(host_.progressBar, host_.progressTarget);
        host_.progressBar = value;
    }
    progress_->SetProgressPos(value);
    if (statusLabel_ && host_.mode == 0) {
        const std::wstring status = GetStatusText(host_);
        if (status != statusLabel_->GetText()) statusLabel_->SetText(status.c_str());
    }
    if (ProgressTimerDone(value)) {
        KillObjTimer(progressTimer_);
        progressTimer_ = 0;
    }
}

void CLHubshell::HandBoxesToWorkers() {
    host_.desktopBox = BoxState(desktopBox_);
    host_.quickLaunchBox = BoxState(quickLaunchBox_);
    host_.emulatorBox = BoxState(emulatorBox_);
    host_.emulatorDataBox = BoxState(emulatorDataBox_);
    for (int i = 0; i < kReasonCount; ++i) {
        host_.reasonBoxes[i] = i < int(reasonBoxes_.size()) && reasonBoxes_[i]->GetCheck();
    }
    if (freeText_) host_.freeText = freeText_->GetText();
}

void CLHubshell::StartOperation() {
    // A second click (the uninstall pumps messages while it waits, so it can come in
    // during the first) must not start the operation again.
    if (OperationRunning()) return;
    operationStarted_ = true;
    host_.progressTarget = 0;
    HandBoxesToWorkers();
    if (progressTimer_) KillObjTimer(progressTimer_);
    progressTimer_ = SetObjTimer(this, kProgressIntervalMs);
    if (host_.mode != 0) {
        host_.operation = 1;
        host_.installResult = 0;
        installThread_.Start(InstallThreadBody, &host_);
        if (host_.quiet) {
            installThread_.WaitPumping();
            installThread_.Stop();
            const int error = host_.installResult;
            exitCode_ = SetupExitCode(error ? SetupOutcome::InstallFailed : SetupOutcome::Success, true, error);
        }
        return;
    }
    RunUninstallHere();
}

void CLHubshell::RunUninstallHere() {
    host_.operation = 2;
    if (RunUninstall(host_, L"")) return;
    if (!host_.quiet) MessageBoxW(hwnd_, kUninstallFailedMessage, nullptr, MB_ICONERROR);
    ExitProcess(SetupExitCode(SetupOutcome::UninstallFailed, host_.quiet, 0));
}

void CLHubshell::OnInstallButton(UIButton* button) {
    // The running install reads the target folder.
    if (OperationRunning()) return;
    std::wstring folder;
    const bool valid = AcceptInstallFolder(pathBox_->GetText(), folder) && EnsureFolder(folder);
    if (!valid) {
        MessageBoxW(hwnd_, kBadFolderMessage, nullptr, MB_ICONERROR);
        return;
    }
    host_.targetFolder = folder;
    QueueTransition(button->GetParent(), progressPage_, true);
    StartOperation();
}

void CLHubshell::OnBrowse() {
    const std::wstring kept = host_.targetFolder;
    std::wstring chosen;
    if (BrowseForFolder(hwnd_, chosen)) {
        host_.targetFolder = FolderFromBrowseChoice(chosen);
        pathBox_->SetText(host_.targetFolder.c_str());
    } else {
        host_.targetFolder = kept;
    }
}

void CLHubshell::LaunchLastrun() {
    if (host_.lastrunPath.empty()) return;
    const LaunchCommand command = SplitLaunchCommand(host_.lastrunPath);
    ShellExecuteW(nullptr, L"open", command.program.c_str(),
                  command.parameters.empty() ? nullptr : command.parameters.c_str(), nullptr, SW_SHOW);
}

LRESULT CLHubshell::ChildNotify(UIObject* sender, UINT message, WPARAM wParam, LPARAM lParam) {
    UIFrameWindow::ChildNotify(sender, message, wParam, lParam);
    if (!sender) return 0;
    if (sender == termsLink_) {
        ShellExecuteW(nullptr, L"open", config::kTermsPageUrl, nullptr, nullptr, SW_SHOWNORMAL);
    } else if (sender == customLink_) {
        QueueTransition(installPage_, customPage_, true);
    } else if (sender == backLink_) {
        QueueTransition(customPage_, installPage_, false);
    } else if (sender == agreementBox_) {
        const bool agreed = agreementBox_->GetCheck();
        installButtonA_->SetEnabled(agreed);
        installButtonB_->SetEnabled(agreed);
    } else if (sender == browseButton_) {
        OnBrowse();
    } else if (sender == installButtonA_ || sender == installButtonB_) {
        OnInstallButton(static_cast<UIButton*>(sender));
    } else if (sender == retryButton_) {
        QueueTransition(retryPage_, installPage_, false);
    } else if (sender == finishButton_) {
        LaunchLastrun();
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    } else if (sender == cancelButton_ || sender == doneButton_) {
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    } else if (sender == uninstallButton_) {
        if (OperationRunning()) return 0;
        QueueTransition(reasonPage_, uninstallPage_, true);
        StartOperation();
    } else if (sender == emulatorBox_) {
        const bool checked = emulatorBox_->GetCheck();
        if (!checked) emulatorDataBox_->SetCheck(false);
        emulatorDataBox_->SetEnabled(checked);
    }
    return 0;
}

}  // namespace kestro
