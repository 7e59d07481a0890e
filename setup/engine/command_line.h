#pragma once
#include <string>

namespace kestro {

// The command line that starts one element of a command list relative to a base
// folder: the program part (base + "\" + the element's first token) in quotation
// marks, so blanks in the base folder ("C:\Program Files (x86)\...") never name
// another program, then the rest of the element as its arguments. A first token in
// quotation marks may hold blanks. An empty element gives an empty text.
std::wstring BuildListedCommand(const std::wstring& baseFolder, const std::wstring& element);

// The element's first token, the program path relative to the base folder, as
// BuildListedCommand reads it (without its quotation marks); empty for an empty element.
std::wstring ListedProgram(const std::wstring& element);

}  // namespace kestro
