#pragma once
#include <string>
#include <vector>

namespace kestro {

// Cuts the text at every occurrence of the separator. Empty pieces between adjacent
// separators are kept; the rest after the last separator only when not empty.
void SplitText(const std::string& text, const std::string& separator, std::vector<std::string>& pieces);
void SplitText(const std::wstring& text, const std::wstring& separator, std::vector<std::wstring>& pieces);

}  // namespace kestro
