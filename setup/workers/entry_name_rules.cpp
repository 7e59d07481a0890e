#include "setup/workers/entry_name_rules.h"

namespace kestro {
namespace {

bool IsTrimmedSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

bool IsSeparator(wchar_t c) { return c == L'/' || c == L'\\'; }

bool IsForbiddenChar(wchar_t c) {
    if (static_cast<uint32_t>(c) < 0x20) return true;
    switch (c) {
        case L'<':
        case L'>':
        case L':':
        case L'"':
        case L'|':
        case L'?':
        case L'*':
            return true;
        default:
            return false;
    }
}

wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

// Windows maps these names to devices whatever the extension ("nul.txt" too).
bool IsDeviceName(const std::wstring& component) {
    std::wstring stem;
    for (wchar_t c : component) {
        if (c == L'.') break;
        stem += AsciiUpper(c);
    }
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : kDevices) {
        if (stem == device) return true;
    }
    if (stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0) && stem[3] >= L'0' &&
        stem[3] <= L'9') {
        return true;
    }
    return false;
}

bool IsSafeComponent(const std::wstring& component) {
    if (component.empty()) return false;
    for (wchar_t c : component) {
        if (IsForbiddenChar(c)) return false;
    }
    // Windows drops trailing dots and blanks, so "..", "... " and "a." name other things.
    wchar_t last = component.back();
    if (last == L'.' || last == L' ') return false;
    return !IsDeviceName(component);
}

}  // namespace

bool EntryNameFits(uint64_t nameBytes) { return nameBytes < kEntryNameBufferBytes; }

std::wstring TrimEntryName(const std::wstring& name) {
    size_t begin = 0;
    size_t end = name.size();
    while (begin < end && IsTrimmedSpace(name[begin])) ++begin;
    while (end > begin && IsTrimmedSpace(name[end - 1])) --end;
    return name.substr(begin, end - begin);
}

bool IsSafeRelativePath(const std::wstring& relative) {
    if (relative.empty() || IsSeparator(relative.front())) return false;
    size_t start = 0;
    while (true) {
        size_t next = start;
        while (next < relative.size() && !IsSeparator(relative[next])) ++next;
        if (!IsSafeComponent(relative.substr(start, next - start))) return false;
        if (next == relative.size()) return true;
        start = next + 1;
    }
}

bool ParseEntryName(const std::wstring& trimmedName, EntryName& out) {
    if (trimmedName.empty()) return false;
    EntryName parsed;
    parsed.relative = trimmedName;
    if (parsed.relative.back() == L'/') {
        parsed.isFolder = true;
        parsed.relative.pop_back();
    }
    if (!IsSafeRelativePath(parsed.relative)) return false;
    out = parsed;
    return true;
}

}  // namespace kestro
