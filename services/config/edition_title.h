#pragma once
// The edition title table: the product title for each edition key. The game-centre
// window carries it and a second start of the launcher finds that window by it.
#include <string_view>

namespace kestro {

// Exact, case-sensitive match of the whole key; anything unknown gets the product's own
// title (services/config/product_title.h).
std::wstring_view ProductTitleForEdition(std::wstring_view editionKey);

}  // namespace kestro
