#include "uikit/edit/edit_model.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

EditModel WithText(const std::wstring& text, size_t caret) {
    EditModel m;
    m.SetText(text);
    m.PlaceCaret(caret);
    return m;
}

TEST(EditModel, AcceptsOnlyPrintableAsciiWithoutSpaceAndTilde) {
    EditModel m = WithText(L"abc", 1);
    EXPECT_FALSE(m.CharInput(' ').textChanged);
    EXPECT_FALSE(m.CharInput('~').textChanged);
    EXPECT_FALSE(m.CharInput(0x4E2D).textChanged);
    EXPECT_FALSE(m.CharInput('\r').textChanged);
    EXPECT_EQ(m.Text(), L"abc");

    const EditOutcome out = m.CharInput('a');
    EXPECT_TRUE(out.textChanged);
    EXPECT_EQ(m.Text(), L"aabc");
    EXPECT_EQ(m.Caret(), 2u);
    EXPECT_TRUE(m.CharInput('!').textChanged);
    EXPECT_TRUE(m.CharInput('}').textChanged);
    EXPECT_EQ(m.Text(), L"aa!}bc");
}

TEST(EditModel, MaximumLengthStopsInsertion) {
    EditModel m = WithText(L"ab", 2);
    m.SetMaxLength(3);
    EXPECT_TRUE(m.CharInput('c').textChanged);
    EXPECT_FALSE(m.CharInput('d').textChanged);
    EXPECT_EQ(m.Text(), L"abc");
    // Replacing a selection still frees room first.
    m.SelectBetween(0, 3);
    EXPECT_TRUE(m.CharInput('x').textChanged);
    EXPECT_EQ(m.Text(), L"x");
}

TEST(EditModel, HomeRightEndMoveTheCaret) {
    EditModel m = WithText(L"abc", 2);
    m.KeyDown(kEditKeyHome);
    EXPECT_EQ(m.Caret(), 0u);
    EXPECT_TRUE(m.KeyDown(kEditKeyRight).repaint);
    EXPECT_EQ(m.Caret(), 1u);
    m.KeyDown(kEditKeyEnd);
    EXPECT_EQ(m.Caret(), 3u);
    m.KeyDown(kEditKeyRight);
    EXPECT_EQ(m.Caret(), 3u);
    m.KeyDown(kEditKeyLeft);
    EXPECT_EQ(m.Caret(), 2u);
    m.KeyDown(kEditKeyHome);
    m.KeyDown(kEditKeyLeft);
    EXPECT_EQ(m.Caret(), 0u);
}

TEST(EditModel, DoubleClickSelectsAllAndTheNextCharacterReplacesIt) {
    EditModel m = WithText(L"C:\\Games", 3);
    m.SelectAll();
    EXPECT_TRUE(m.CaretVisible());
    EXPECT_EQ(m.SelectionStart(), 0u);
    EXPECT_EQ(m.SelectionEnd(), 8u);
    m.CharInput('D');
    EXPECT_EQ(m.Text(), L"D");
    EXPECT_EQ(m.Caret(), 1u);
    EXPECT_FALSE(m.HasSelection());
}

TEST(EditModel, DeletingASelectionPutsTheCaretAtItsStart) {
    EditModel m = WithText(L"abcdef", 5);
    m.SelectBetween(1, 3);
    EXPECT_TRUE(m.KeyDown(kEditKeyBackspace).textChanged);
    EXPECT_EQ(m.Text(), L"adef");
    EXPECT_EQ(m.Caret(), 1u);

    m.PlaceCaret(4);
    m.SelectBetween(2, 4);
    EXPECT_TRUE(m.KeyDown(kEditKeyDelete).textChanged);
    EXPECT_EQ(m.Text(), L"ad");
    EXPECT_EQ(m.Caret(), 2u);
    EXPECT_TRUE(m.CharInput('z').textChanged);
    EXPECT_EQ(m.Text(), L"adz");
}

TEST(EditModel, DeleteAndBackspaceAtTheTextEdgesDoNothing) {
    EditModel m = WithText(L"abc", 3);
    EXPECT_FALSE(m.KeyDown(kEditKeyDelete).textChanged);
    EXPECT_EQ(m.Text(), L"abc");
    m.KeyDown(kEditKeyHome);
    EXPECT_FALSE(m.KeyDown(kEditKeyBackspace).textChanged);
    // Caret 0 with a selection (dragged rightwards from the start): Backspace keeps it.
    m.SelectBetween(0, 2);
    EXPECT_FALSE(m.KeyDown(kEditKeyBackspace).textChanged);
    EXPECT_EQ(m.Text(), L"abc");
    EXPECT_TRUE(m.KeyDown(kEditKeyDelete).textChanged);
    EXPECT_EQ(m.Text(), L"c");
    m.PlaceCaret(1);
    EXPECT_TRUE(m.KeyDown(kEditKeyBackspace).textChanged);
    EXPECT_EQ(m.Text(), L"");
    EXPECT_EQ(m.Caret(), 0u);
}

TEST(EditModel, SettingAShorterTextClampsCaretAndSelection) {
    EditModel m = WithText(L"abcdef", 6);
    m.SelectAll();
    m.SetText(L"xy");
    EXPECT_EQ(m.Caret(), 2u);
    EXPECT_FALSE(m.HasSelection());
    EXPECT_FALSE(m.KeyDown(kEditKeyDelete).textChanged);
    m.PlaceCaret(99);
    EXPECT_EQ(m.Caret(), 2u);
    // The same text again keeps the caret where it is.
    m.PlaceCaret(1);
    m.SetText(L"xy");
    EXPECT_EQ(m.Caret(), 1u);
}

TEST(EditModel, LeftWithASelectionStartsFromTheEndAndRightCollapsesToTheStart) {
    EditModel m = WithText(L"abcd", 0);
    m.SelectBetween(1, 3);
    m.KeyDown(kEditKeyLeft);
    EXPECT_FALSE(m.HasSelection());
    EXPECT_EQ(m.Caret(), 3u);

    m.PlaceCaret(3);
    m.SelectBetween(3, 1);
    m.KeyDown(kEditKeyRight);
    EXPECT_FALSE(m.HasSelection());
    EXPECT_EQ(m.SelectionStart(), 1u);
    EXPECT_EQ(m.Caret(), 4u);
}

TEST(EditModel, EscapeHidesTheCaret) {
    EditModel m = WithText(L"abc", 1);
    m.SetCaretVisible(true);
    m.KeyDown(kEditKeyEscape);
    EXPECT_FALSE(m.CaretVisible());
    EXPECT_EQ(m.Text(), L"abc");
}

TEST(EditIndexAtX, PicksTheNearestBoundary) {
    const std::vector<int> widths = {0, 10, 20, 30};
    EXPECT_EQ(EditIndexAtX(widths, -5), 0u);
    EXPECT_EQ(EditIndexAtX(widths, 0), 0u);
    EXPECT_EQ(EditIndexAtX(widths, 4), 0u);
    EXPECT_EQ(EditIndexAtX(widths, 5), 0u);
    EXPECT_EQ(EditIndexAtX(widths, 6), 1u);
    EXPECT_EQ(EditIndexAtX(widths, 16), 2u);
    EXPECT_EQ(EditIndexAtX(widths, 30), 3u);
    EXPECT_EQ(EditIndexAtX(widths, 500), 3u);
    EXPECT_EQ(EditIndexAtX({0}, 7), 0u);
    EXPECT_EQ(EditIndexAtX({}, 7), 0u);
}

}  // namespace
}  // namespace kestro
