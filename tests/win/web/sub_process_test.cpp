// KestroWeb.exe started as the browser runtime starts it, under Wine: its
// renderer runs real pages, and a build against another runtime ends at once.
#include <gtest/gtest.h>

#include <string>

#include "services/win/unique_handle.h"
#include "tests/win/support/test_files.h"

namespace {

using kestro::test::Exists;
using kestro::test::ReadBytes;
using kestro::test::ScratchFolder;
using kestro::test::WriteBytes;

std::wstring ProgramBeside(const wchar_t* name) { return kestro::test::BinFolder() + L"\\" + name; }

// Runs the program and returns its exit code; STILL_ACTIVE if it did not end in time.
DWORD RunProgram(const std::wstring& program, const std::wstring& arguments) {
  std::wstring command = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    ADD_FAILURE() << "cannot start the program, error " << GetLastError();
    return STILL_ACTIVE;
  }
  kestro::UniqueHandle process(pi.hProcess);
  kestro::UniqueHandle thread(pi.hThread);
  if (WaitForSingleObject(process.get(), 30000) != WAIT_OBJECT_0) {
    TerminateProcess(process.get(), 1);
    ADD_FAILURE() << "the program did not end";
    return STILL_ACTIVE;
  }
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process.get(), &code);
  return code;
}

std::wstring RendererArguments(const ScratchFolder& dir) {
  return L"--type=renderer --kestro-page=\"" + dir / L"page.js" + L"\" --kestro-subframe-page=\"" + dir / L"sub.js" +
         L"\" --kestro-message-log=\"" + dir / L"log.txt" + L"\"";
}

TEST(KestroWebProgram, RendererPagesReachTheBrowserProcess) {
  ScratchFolder dir(L"kestro_web");
  ASSERT_TRUE(WriteBytes(dir / L"page.js",
                         "external.Download('a', 7, true, ['x', 2, 'y'], 1.5, null);\n"
                         "external.refreshlmaccount('\xE6\xB8\xB8\xE6\x88\x8F');\n"
                         "external.Download = null; external.Download(2147483648);\n"));
  ASSERT_TRUE(WriteBytes(dir / L"sub.js", "external.closewindow();\n"));
  EXPECT_EQ(RunProgram(ProgramBeside(L"KestroWeb.exe"), RendererArguments(dir)), 0u);
  ASSERT_TRUE(Exists(dir / L"log.txt"));
  EXPECT_EQ(ReadBytes(dir / L"log.txt"),
            "Download(\"a\", 7, true, [\"x\", null, \"y\"], null, null)\n"
            "refreshlmaccount(\"\xE6\xB8\xB8\xE6\x88\x8F\")\n"
            "Download(null)\n"
            "closewindow()\n");
}

TEST(KestroWebProgram, WithoutAProcessTypeTheRuntimeHandsBackToTheCaller) {
  EXPECT_EQ(RunProgram(ProgramBeside(L"KestroWeb.exe"), L""), static_cast<DWORD>(-1));
}

TEST(KestroWebProgram, MismatchedApiHashEndsWithZeroWithoutRunning) {
  ScratchFolder dir(L"kestro_web");
  ASSERT_TRUE(WriteBytes(dir / L"page.js", "external.closewindow();\n"));
  ASSERT_TRUE(WriteBytes(dir / L"sub.js", "external.closewindow();\n"));
  EXPECT_EQ(RunProgram(ProgramBeside(L"KestroWeb_otherhash.exe"), RendererArguments(dir)), 0u);
  EXPECT_FALSE(Exists(dir / L"log.txt")) << "the renderer must not have run";
  EXPECT_EQ(RunProgram(ProgramBeside(L"KestroWeb_otherhash.exe"), L""), 0u);
}

}  // namespace
