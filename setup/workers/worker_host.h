#pragma once
// The workers' whole contract with the installer window: the values they read and
// write, the locks that guard the shared ones, and the window that receives the two
// completion messages. The window derives from (or owns) one of these; tests and
// quiet runs use a plain one.
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "services/json/jvalue.h"
#include "setup/engine/worker_thread.h"
#include "setup/package/package_records.h"
#include "setup/workers/install_plan.h"
#include "setup/workers/uninstall_plan.h"

namespace kestro {

// Posted to `window` with zero parameters when an install or uninstall ends.
constexpr UINT WM_SETUP_COMPLETE = 0x8401;
constexpr UINT WM_SETUP_FAILED = 0x8402;

// A check box as the workers see it: boxes of the other mode do not exist and read as cleared.
struct WorkerCheckBox {
    bool present = false;
    bool checked = false;
    bool IsChecked() const { return present && checked; }
};

struct WorkerHost {
    std::wstring targetFolder;
    JValue configuration;  // the installer's record
    int channel = PackageConfig::kDefaultChannel;
    std::wstring theme = L"default";
    bool quiet = false;
    int mode = 1;       // 0: uninstaller
    int operation = 1;  // statistics op: 1 install, 2 uninstall, 3 install over an older one
    int productVersion = 0;
    // SetupError code of the last install thread (0 = success); a quiet run ends with it.
    int installResult = 0;

    // The bar creeps toward the target on the window's timer; the bar itself is shared
    // with that timer and only touched under the progress lock (which may be re-entered).
    std::atomic<int> progressTarget{0};
    int progressBar = 0;
    std::recursive_mutex progressLock;
    // Told every step the workers take, in order, on their thread; the window has none.
    std::function<void(const ProgressStep&)> progressObserver;

    std::wstring lastrunPath;  // filled by the install, started by the finish page
    JValue instrun;            // filled by the install

    // Status label text of the uninstall progress page, guarded by the label's lock.
    std::wstring statusText;
    std::mutex statusLock;

    WorkerCheckBox desktopBox;       // "创建桌面图标"
    WorkerCheckBox quickLaunchBox;   // "添加到快速启动栏"
    WorkerCheckBox emulatorBox;      // "卸载模拟器"
    WorkerCheckBox emulatorDataBox;  // "同时删除游戏数据"
    bool reasonBoxes[kReasonCount] = {};
    std::wstring freeText;  // "MainWindow/EditBoxPath1"

    HWND window = nullptr;
    // The holder of the thread the install runs on. Its Stop (the window closing) asks
    // the install to end at the next archive entry; the run is then rolled back and
    // fails. None: the install is never asked.
    const WorkerThread* installThread = nullptr;
};

bool StopRequested(const WorkerHost& host);

// Sets the bar (under the progress lock) and then the target; -1 leaves either as is.
void StepProgress(WorkerHost& host, ProgressStep step);
void SetStatusText(WorkerHost& host, const std::wstring& text);
std::wstring GetStatusText(WorkerHost& host);

}  // namespace kestro
