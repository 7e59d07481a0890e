#pragma once
// The edition title table: the product title for each edition key.
#include <string_view>

namespace kestro {

// Exact, case-sensitive match of the whole key; anything unknown gets the product's own
// title (services/config/product_title.h).
std::wstring_view ProductTitleForEdition(std::wstring_view editionKey);

}  // namespace kestro
