#include "outside/common/call_record.h"

namespace kestro {

std::wstring EscapeRecordField(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        switch (c) {
        case L'\\': out += L"\\\\"; break;
        case L'\t': out += L"\\t"; break;
        case L'\n': out += L"\\n"; break;
        case L'\r': out += L"\\r"; break;
        default: out += c;
        }
    }
    return out;
}

std::wstring FormatRecordLine(unsigned long processId, std::wstring_view entry,
                              std::initializer_list<std::wstring_view> args) {
    std::wstring line = std::to_wstring(processId);
    line += L'\t';
    line += EscapeRecordField(entry);
    for (std::wstring_view arg : args) {
        line += L'\t';
        line += EscapeRecordField(arg);
    }
    line += L'\n';
    return line;
}

}  // namespace kestro
