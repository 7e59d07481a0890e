#include "services/config/edition_title.h"

#include "services/config/product_title.h"

namespace kestro {

namespace {
struct Edition {
    std::wstring_view key;
    std::wstring_view title;
};
constexpr Edition kEditions[] = {
    {L"lumo", L"Lumo手游模拟器"},
    {L"vesk", L"Vesk手游助手"},
    {L"orvik", L"Orvik手游助手"},
    {L"quenta", L"Quenta模拟器"},
};
}  // namespace

std::wstring_view ProductTitleForEdition(std::wstring_view editionKey) {
    for (const Edition& edition : kEditions) {
        if (edition.key == editionKey) return edition.title;
    }
    return config::kProductTitle;
}

}  // namespace kestro
