#include "setup/startup/argument_quoting.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "services/win/unique_handle.h"

namespace kestro {
namespace {

std::vector<std::wstring> SplitLikeTheShell(const std::wstring& line) {
    int count = 0;
    UniqueLocal split(CommandLineToArgvW(line.c_str(), &count));
    LPWSTR* argv = static_cast<LPWSTR*>(split.get());
    std::vector<std::wstring> out;
    for (int i = 0; argv && i < count; ++i) out.push_back(argv[i]);
    return out;
}

TEST(ArgumentQuoting, TheSystemsSplitterReadsRestartParametersBackUnchanged) {
    const std::vector<std::wstring> args = {L"C:\\Temp\\KestroGC\\unins000.exe", L"/D", L"D:\\My Games",
                                            L"/q", L"D:\\trailing slash\\", L"say \"hi\"", L"", L"a\\\\b"};
    auto back = SplitLikeTheShell(L"prog.exe" + BuildRestartParameters(args));
    ASSERT_EQ(back.size(), args.size());
    for (size_t i = 1; i < args.size(); ++i) EXPECT_EQ(back[i], args[i]) << i;
}

}  // namespace
}  // namespace kestro
