#pragma once
#include <string>
#include <vector>

namespace kestro {

// Quotes one argument so that the shell's argument splitter (CommandLineToArgvW)
// reads it back unchanged: blanks, quotation marks and trailing backslashes survive.
std::wstring QuoteArgument(const std::wstring& arg);

// The parameter text of a restart: for each argument after the program path, a
// blank and the argument quoted as above, so "/D" "D:\My Games" stays two arguments.
std::wstring BuildRestartParameters(const std::vector<std::wstring>& args);

}  // namespace kestro
