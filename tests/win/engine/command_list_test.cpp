#include "setup/engine/command_list.h"

#include <gtest/gtest.h>

#include "engine_test_support.h"

namespace kestro {
namespace {

using test::Exists;
using test::ScratchFolder;

bool WaitForFile(const std::wstring& path, DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 50) {
        if (Exists(path)) {
            Sleep(50);  // let the writer close it
            return true;
        }
        Sleep(50);
    }
    return false;
}

std::string Utf8(const std::wstring& text) {
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), &out[0], bytes, nullptr, nullptr);
    return out;
}

TEST(RunCommandList, StartsEachElementRelativeToABaseFolderWithBlanks) {
    ScratchFolder folder;
    // "<folder>\run list (x86)\tool.exe": unquoted, the system would first try "<folder>\run.exe".
    std::wstring base = folder / L"run list (x86)";
    ASSERT_TRUE(EnsureFolder(base + L"\\bin"));
    ASSERT_TRUE(CopyFileW(test::HelperProgram().c_str(), (base + L"\\bin\\tool.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(test::HelperProgram().c_str(), (folder / L"run.exe").c_str(), FALSE));
    std::wstring first = folder / L"标记一.txt", second = folder / L"second.txt";

    JValue commands = JValue::Array();
    commands.Append(Utf8(L"bin\\tool.exe touch \"" + first + L"\" 甲 b"));
    commands.Append("   ");
    commands.Append("missing.exe touch x");
    commands.Append(Utf8(L"bin\\tool.exe touch \"" + second + L"\""));
    RunCommandList(base, commands);

    ASSERT_TRUE(WaitForFile(first, 10000));
    ASSERT_TRUE(WaitForFile(second, 10000));
    std::string text;
    ASSERT_TRUE(ReadWholeFile(first, text));
    EXPECT_EQ(text, "甲 b");
    EXPECT_FALSE(Exists(folder / L"run.exe.ran"));
}

}  // namespace
}  // namespace kestro
