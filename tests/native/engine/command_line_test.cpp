#include "setup/engine/command_line.h"

#include <gtest/gtest.h>

namespace kestro {
namespace {

TEST(ListedCommand, ProgramPartIsQuotedSoBlanksInTheBaseNameNoOtherProgram) {
    EXPECT_EQ(BuildListedCommand(L"C:\\Program Files (x86)\\Kestro", L"tool.exe /s -x"),
              L"\"C:\\Program Files (x86)\\Kestro\\tool.exe\" /s -x");
    EXPECT_EQ(BuildListedCommand(L"C:\\K", L"bin\\tool.exe"), L"\"C:\\K\\bin\\tool.exe\"");
}

TEST(ListedCommand, QuotedFirstTokenMayHoldBlanks) {
    EXPECT_EQ(BuildListedCommand(L"C:\\K", L"\"sub dir\\t.exe\" a \"b c\""), L"\"C:\\K\\sub dir\\t.exe\" a \"b c\"");
    EXPECT_EQ(BuildListedCommand(L"C:\\K", L"\"unterminated t.exe"), L"\"C:\\K\\unterminated t.exe\"");
}

TEST(ListedCommand, BlankElementsStartNothing) {
    EXPECT_EQ(BuildListedCommand(L"C:\\K", L""), L"");
    EXPECT_EQ(BuildListedCommand(L"C:\\K", L"  \t"), L"");
    EXPECT_EQ(BuildListedCommand(L"C:\\K", L"  t.exe   x"), L"\"C:\\K\\t.exe\" x");
}

}  // namespace
}  // namespace kestro
