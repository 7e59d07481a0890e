#include "launcher/core/start_decisions.h"

namespace kestro {

namespace {
constexpr std::wstring_view kFromWord = L"-from";
constexpr std::wstring_view kOneClickWord = L"oneclick";
constexpr size_t kFromIndex = 2;
constexpr size_t kOneClickIndex = 3;

wchar_t FoldAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }
}  // namespace

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

bool IsHandOverRequest(const std::vector<std::wstring_view>& words) {
    return words.size() > kOneClickIndex && EqualsIgnoringCase(words[kFromIndex], kFromWord) &&
           EqualsIgnoringCase(words[kOneClickIndex], kOneClickWord);
}

Activation ChooseActivation(bool windowFound, bool fullScreenRunning, bool minimised, bool visible) {
    if (!windowFound || fullScreenRunning) return Activation::None;
    if (minimised) return Activation::Restore;
    if (visible) return Activation::Lift;
    return Activation::ShowNormal;
}

std::wstring ReporterPathFor(std::wstring_view fullPath, std::wstring_view fileName) {
    // Only the trailing file name: a folder that happens to contain the same text keeps it.
    if (fileName.empty() || fullPath.size() < fileName.size() ||
        fullPath.substr(fullPath.size() - fileName.size()) != fileName) {
        return std::wstring();
    }
    std::wstring path(fullPath.substr(0, fullPath.size() - fileName.size()));
    path += kCrashReporterFile;
    return path;
}

}  // namespace kestro
