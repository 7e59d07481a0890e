#include "services/encoding/split_text.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

using Pieces = std::vector<std::string>;

Pieces Split(const std::string& text, const std::string& sep) {
    Pieces out;
    SplitText(text, sep, out);
    return out;
}

TEST(SplitText, KeepsEmptyInnerPiecesAndDropsAnEmptyRest) {
    EXPECT_EQ(Split("a;b;c", ";"), (Pieces{"a", "b", "c"}));
    EXPECT_EQ(Split("a;;b", ";"), (Pieces{"a", "", "b"}));
    EXPECT_EQ(Split("a;b;", ";"), (Pieces{"a", "b"}));
    EXPECT_EQ(Split(";a", ";"), (Pieces{"", "a"}));
    EXPECT_EQ(Split("", ";"), Pieces{});
    EXPECT_EQ(Split("abc", ";"), Pieces{"abc"});
}

TEST(SplitText, MultiCharacterSeparatorsAndWideText) {
    EXPECT_EQ(Split("a\r\nb\r\n\r\nc", "\r\n"), (Pieces{"a", "b", "", "c"}));
    std::vector<std::wstring> wide;
    SplitText(std::wstring(L"代理1;代理2"), std::wstring(L";"), wide);
    EXPECT_EQ(wide, (std::vector<std::wstring>{L"代理1", L"代理2"}));
}

TEST(SplitText, AppendsToExistingPieces) {
    Pieces out{"x"};
    SplitText("a;b", ";", out);
    EXPECT_EQ(out, (Pieces{"x", "a", "b"}));
}

}  // namespace
}  // namespace kestro
