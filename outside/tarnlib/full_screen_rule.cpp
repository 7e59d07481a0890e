#include "outside/tarnlib/full_screen_rule.h"

namespace kestro::tarnlib {

bool IsFullScreenWindow(const Box& window, const Box& monitor, std::wstring_view windowClass) {
    if (windowClass == L"Progman" || windowClass == L"WorkerW" || windowClass == L"#32769") return false;
    if (monitor.right <= monitor.left || monitor.bottom <= monitor.top) return false;
    return window.left <= monitor.left && window.top <= monitor.top && window.right >= monitor.right &&
           window.bottom >= monitor.bottom;
}

}  // namespace kestro::tarnlib
