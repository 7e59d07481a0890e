#pragma once
// The edition title table: the product title for each edition key.
#include <string_view>

namespace kestro {

inline constexpr wchar_t kDefaultProductTitle[] = L"Kestro 模拟器";

// Exact, case-sensitive match of the whole key; anything unknown gets the default title.
std::wstring_view ProductTitleForEdition(std::wstring_view editionKey);

}  // namespace kestro
