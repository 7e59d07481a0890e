#include "setup/workers/worker_host.h"

namespace kestro {

void StepProgress(WorkerHost& host, ProgressStep step) {
    if (step.bar >= 0) {
        std::lock_guard<std::recursive_mutex> lock(host.progressLock);
        host.progressBar = step.bar;
    }
    if (step.target >= 0) host.progressTarget = step.target;
    if (host.progressObserver) host.progressObserver(step);
}

void SetStatusText(WorkerHost& host, const std::wstring& text) {
    std::lock_guard<std::mutex> lock(host.statusLock);
    host.statusText = text;
}

bool StopRequested(const WorkerHost& host) { return host.installThread && host.installThread->StopRequested(); }

std::wstring GetStatusText(WorkerHost& host) {
    std::lock_guard<std::mutex> lock(host.statusLock);
    return host.statusText;
}

}  // namespace kestro
