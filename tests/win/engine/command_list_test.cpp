#include "setup/engine/command_list.h"

#include <gtest/gtest.h>

#include <vector>

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

TEST(RunCommandList, StartsEachElementRelativeToABaseFolderWithBlanksAndFollowsTheCallersRules) {
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

    // The uninstall's rules: the caller judges each program path below the base, and each
    // started program has ended before the next starts and before the run returns.
    ASSERT_TRUE(CopyFileW(test::HelperProgram().c_str(), (base + L"\\refused.exe").c_str(), FALSE));
    std::wstring refused = folder / L"refused.txt", waited = folder / L"waited.txt";
    JValue ruled = JValue::Array();
    ruled.Append(Utf8(L"refused.exe touch \"" + refused + L"\" no"));
    ruled.Append(Utf8(L"bin\\tool.exe touch \"" + waited + L"\" yes"));
    std::vector<std::wstring> judged;
    CommandListRules rules;
    rules.mayStart = [&](const std::wstring& program) {
        judged.push_back(program);
        return program != base + L"\\refused.exe";
    };
    rules.waitForEach = true;
    RunCommandList(base, ruled, rules);
    EXPECT_EQ(judged, (std::vector<std::wstring>{base + L"\\refused.exe", base + L"\\bin\\tool.exe"}));
    ASSERT_TRUE(ReadWholeFile(waited, text)) << "not waited for";
    EXPECT_EQ(text, "yes");
    EXPECT_FALSE(Exists(refused));
}

}  // namespace
}  // namespace kestro
