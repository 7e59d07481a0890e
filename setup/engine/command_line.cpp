#include "command_line.h"

namespace kestro {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The first token of an element and, in `rest`, the position after it; false for an empty element.
bool SplitFirstToken(const std::wstring& element, std::wstring& program, size_t& rest) {
    size_t i = 0;
    while (i < element.size() && IsBlank(element[i])) ++i;
    if (i == element.size()) return false;
    if (element[i] == L'"') {
        size_t close = element.find(L'"', i + 1);
        size_t end = close == std::wstring::npos ? element.size() : close;
        program = element.substr(i + 1, end - i - 1);
        i = close == std::wstring::npos ? element.size() : close + 1;
    } else {
        size_t end = i;
        while (end < element.size() && !IsBlank(element[end])) ++end;
        program = element.substr(i, end - i);
        i = end;
    }
    rest = i;
    return true;
}

}  // namespace

std::wstring BuildListedCommand(const std::wstring& baseFolder, const std::wstring& element) {
    std::wstring program;
    size_t i = 0;
    if (!SplitFirstToken(element, program, i)) return std::wstring();
    while (i < element.size() && IsBlank(element[i])) ++i;
    std::wstring command = L"\"" + baseFolder + L"\\" + program + L"\"";
    if (i < element.size()) command += L" " + element.substr(i);
    return command;
}

std::wstring ListedProgram(const std::wstring& element) {
    std::wstring program;
    size_t rest = 0;
    return SplitFirstToken(element, program, rest) ? program : std::wstring();
}

}  // namespace kestro
