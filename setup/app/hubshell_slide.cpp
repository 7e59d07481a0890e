// Page changes: queued on the main thread, played one after the other on the slide thread.
#include <windows.h>

#include "setup/app/cl_hubshell.h"
#include "setup/window/page_rules.h"

namespace kestro {
namespace {

constexpr DWORD kSlideStepMs = 15;

}  // namespace

void CLHubshell::QueueTransition(UIObject* leave, UIObject* show, bool forward) {
    if (!transitions_.Push({leave, show, forward})) return;
    // A slide thread that has just found the queue empty may still be ending; it
    // takes nothing more, so waiting for it is short.
    slideThread_.Stop();
    // Without a thread the record is still played, here.
    if (!slideThread_.Start(SlideThreadBody, this)) SlideAll();
}

void CLHubshell::SlideThreadBody(void* window) { static_cast<CLHubshell*>(window)->SlideAll(); }

// A stop (the window is being destroyed) ends the loop before the next record.
void CLHubshell::SlideAll() {
    PageTransition next;
    while (!slideThread_.StopRequested() && transitions_.Take(next)) Slide(next);
}

void CLHubshell::Slide(const PageTransition& t) {
    if (!t.leave || !t.show) return;
    t.leave->SetPos(kPageWidth, kPageHeight, 0, kPageTop);
    t.show->SetPos(kPageWidth, kPageHeight, t.forward ? kPageWidth : -kPageWidth, kPageTop);
    t.leave->SetEnabled(false);
    t.show->SetEnabled(false);
    // The page coming in is drawn while it moves.
    t.show->SetVisible(true);
    for (int step = 0; step < kSlideSteps; ++step) {
        Sleep(kSlideStepMs);
        const SlideStepPositions at = SlideStep(step, t.forward);
        t.leave->SetPos(kPageWidth, kPageHeight, at.leavingX, kPageTop);
        t.show->SetPos(kPageWidth, kPageHeight, at.showingX, kPageTop);
        if (step == kSlideSteps - 1) {
            t.leave->SetPos(kPageWidth, kPageHeight, 0, kPageTop);
            t.show->SetPos(kPageWidth, kPageHeight, 0, kPageTop);
            t.leave->SetEnabled(true);
            t.show->SetEnabled(true);
            t.leave->SetVisible(false);
            t.show->SetVisible(true);
        }
    }
    // Hover states follow the page that is now under the cursor.
    POINT cursor{};
    if (GetCursorPos(&cursor)) SetCursorPos(cursor.x + 1, cursor.y);
}

}  // namespace kestro
