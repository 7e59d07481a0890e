#pragma once
// The installer's only window: a skinned 528 x 348 frame with its drop shadows and a
// stack of pages, one shown at a time. It runs start-up, starts the install thread or
// the uninstall, drives the progress bar and slides between pages on its own thread.
#include <windows.h>

#include <string>
#include <vector>

#include "setup/engine/worker_thread.h"
#include "setup/window/transition_queue.h"
#include "setup/workers/worker_host.h"
#include "uikit/frame/cl_shadow_wnd.h"
#include "uikit/frame/ui_frame_window.h"
#include "uikit/skin/ui_resource.h"

namespace kestro {

class CXEdit;
class CXEditCtrl;
class UIButton;
class UICheckBox;
class UILabel;
class UIPane;
class UIProgress;
struct SetupSwitches;

// One pending page change.
struct PageTransition {
    UIObject* leave = nullptr;
    UIObject* show = nullptr;
    bool forward = true;
};

class CLHubshell : public UIFrameWindow {
public:
    CLHubshell();
    ~CLHubshell() override;

    LRESULT OnCreate(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnClose(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnWindowPosChanging(WPARAM wParam, LPARAM lParam) override;
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void TimerTick(UINT_PTR id) override;
    LRESULT ChildNotify(UIObject* sender, UINT message, WPARAM wParam, LPARAM lParam) override;

    void StartOperation();
    void QueueTransition(UIObject* leave, UIObject* show, bool forward);

    bool IsQuiet() const { return host_.quiet; }
    // The code the program ends with when start-up or a quiet operation decided one.
    int ExitCode() const { return exitCode_; }

private:
    // Start-up: true when the window goes on living (the process may also end here).
    bool RunStartup();
    void ChooseTarget(const SetupSwitches& switches);
    void BuildTitle();
    void BuildInstallPages();
    void BuildUninstallPages();
    UIPane* NewPage(bool shown);
    template <class T>
    T* AddControl(UIObject* parent, const char* path);
    template <class T>
    T* AddPlaced(UIObject* parent, const char* path, int x, int y, int width, int height);
    UICheckBox* AddCheckBox(UIObject* parent, const wchar_t* text, bool checked, int x, int y, int width, int height);

    // From an accepted start until its outcome lets the user start again (installer:
    // the failure; uninstaller: never), and while the install thread still runs.
    bool OperationRunning() const { return operationStarted_ || installThread_.IsRunning(); }
    void OnInstallButton(UIButton* button);
    void OnBrowse();
    void LaunchLastrun();
    // The window's boxes and texts as the workers read them.
    void HandBoxesToWorkers();
    void RunUninstallHere();

    static void SlideThreadBody(void* window);
    void SlideAll();
    void Slide(const PageTransition& transition);

    WorkerHost host_;  // what the workers read and write
    bool update_ = false;
    UIResource skin_;
    DropShadows shadows_;
    bool shadowsCreated_ = false;
    WorkerThread installThread_;
    bool operationStarted_ = false;
    UINT_PTR progressTimer_ = 0;
    TransitionQueue<PageTransition> transitions_;
    WorkerThread slideThread_;
    int exitCode_ = 0;

    UILabel* title_ = nullptr;
    UILabel* statusLabel_ = nullptr;
    UIProgress* progress_ = nullptr;
    // Installer pages.
    UIPane* installPage_ = nullptr;
    UIPane* customPage_ = nullptr;
    UIPane* progressPage_ = nullptr;
    UIPane* finishPage_ = nullptr;
    UIPane* retryPage_ = nullptr;
    UIButton* installButtonA_ = nullptr;
    UIButton* installButtonB_ = nullptr;
    UIButton* customLink_ = nullptr;
    CXEdit* pathBox_ = nullptr;
    UICheckBox* agreementBox_ = nullptr;
    UIButton* termsLink_ = nullptr;
    UIButton* browseButton_ = nullptr;
    UICheckBox* desktopBox_ = nullptr;
    UIButton* backLink_ = nullptr;
    UICheckBox* quickLaunchBox_ = nullptr;
    UIButton* finishButton_ = nullptr;
    UIButton* retryButton_ = nullptr;
    // Uninstaller pages.
    UIPane* reasonPage_ = nullptr;
    UIPane* uninstallPage_ = nullptr;
    UIPane* donePage_ = nullptr;
    UIButton* uninstallButton_ = nullptr;
    UIButton* cancelButton_ = nullptr;
    UICheckBox* emulatorBox_ = nullptr;
    UICheckBox* emulatorDataBox_ = nullptr;
    std::vector<UICheckBox*> reasonBoxes_;
    CXEditCtrl* freeText_ = nullptr;
    UIButton* doneButton_ = nullptr;
};

}  // namespace kestro
