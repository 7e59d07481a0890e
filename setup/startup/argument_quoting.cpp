#include "argument_quoting.h"

namespace kestro {

std::wstring QuoteArgument(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quotation mark are doubled, and the mark escaped.
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    // Backslashes before the closing mark are doubled so they stay literal.
    quoted.append(2 * backslashes, L'\\');
    quoted += L'"';
    return quoted;
}

std::wstring BuildRestartParameters(const std::vector<std::wstring>& args) {
    std::wstring parameters;
    for (size_t i = 1; i < args.size(); ++i) {
        parameters += L' ';
        parameters += QuoteArgument(args[i]);
    }
    return parameters;
}

}  // namespace kestro
