#include "split_text.h"

namespace kestro {
namespace {

template <class String>
void SplitAny(const String& text, const String& separator, std::vector<String>& pieces) {
    if (separator.empty()) {
        if (!text.empty()) pieces.push_back(text);
        return;
    }
    size_t cut = 0;
    for (size_t at = text.find(separator); at != String::npos; at = text.find(separator, cut)) {
        pieces.push_back(text.substr(cut, at - cut));
        cut = at + separator.size();
    }
    if (cut < text.size()) pieces.push_back(text.substr(cut));
}

}  // namespace

void SplitText(const std::string& text, const std::string& separator, std::vector<std::string>& pieces) {
    SplitAny(text, separator, pieces);
}

void SplitText(const std::wstring& text, const std::wstring& separator, std::vector<std::wstring>& pieces) {
    SplitAny(text, separator, pieces);
}

}  // namespace kestro
