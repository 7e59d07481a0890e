// KestroWeb.exe started as the browser runtime starts it, under Wine: its
// renderer runs real pages, and a build against another runtime ends at once.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "services/win/unique_handle.h"

namespace {

std::wstring ProgramBeside(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, n);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

// A fresh folder under the temporary folder, removed with its files.
class ScratchFolder {
 public:
  ScratchFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"kestro_web_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchFolder() {
    for (const wchar_t* f : {L"page.js", L"sub.js", L"log.txt"}) DeleteFileW((path_ + f).c_str());
    RemoveDirectoryW(path_.c_str());
  }
  std::wstring File(const wchar_t* name) const { return path_ + name; }

 private:
  std::wstring path_;
};

void WriteText(const std::wstring& path, const std::string& text) {
  std::ofstream(path.c_str(), std::ios::binary) << text;
}

bool ReadText(const std::wstring& path, std::string* text) {
  std::ifstream in(path.c_str(), std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  *text = s.str();
  return true;
}

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
  return L"--type=renderer --kestro-page=\"" + dir.File(L"page.js") + L"\" --kestro-subframe-page=\"" +
         dir.File(L"sub.js") + L"\" --kestro-message-log=\"" + dir.File(L"log.txt") + L"\"";
}

TEST(KestroWebProgram, RendererPagesReachTheBrowserProcess) {
  ScratchFolder dir;
  WriteText(dir.File(L"page.js"),
            "external.Download('a', 7, true, ['x', 2, 'y'], 1.5, null);\n"
            "external.refreshlmaccount('\xE6\xB8\xB8\xE6\x88\x8F');\n"
            "external.Download = null; external.Download(2147483648);\n");
  WriteText(dir.File(L"sub.js"), "external.closewindow();\n");
  EXPECT_EQ(RunProgram(ProgramBeside(L"KestroWeb.exe"), RendererArguments(dir)), 0u);
  std::string log;
  ASSERT_TRUE(ReadText(dir.File(L"log.txt"), &log));
  EXPECT_EQ(log,
            "Download(\"a\", 7, true, [\"x\", null, \"y\"], null, null)\n"
            "refreshlmaccount(\"\xE6\xB8\xB8\xE6\x88\x8F\")\n"
            "Download(null)\n"
            "closewindow()\n");
}

TEST(KestroWebProgram, WithoutAProcessTypeTheRuntimeHandsBackToTheCaller) {
  EXPECT_EQ(RunProgram(ProgramBeside(L"KestroWeb.exe"), L""), static_cast<DWORD>(-1));
}

TEST(KestroWebProgram, MismatchedApiHashEndsWithZeroWithoutRunning) {
  ScratchFolder dir;
  WriteText(dir.File(L"page.js"), "external.closewindow();\n");
  WriteText(dir.File(L"sub.js"), "external.closewindow();\n");
  EXPECT_EQ(RunProgram(ProgramBeside(L"KestroWeb_otherhash.exe"), RendererArguments(dir)), 0u);
  EXPECT_EQ(GetFileAttributesW(dir.File(L"log.txt").c_str()), INVALID_FILE_ATTRIBUTES)
      << "the renderer must not have run";
  EXPECT_EQ(RunProgram(ProgramBeside(L"KestroWeb_otherhash.exe"), L""), 0u);
}

}  // namespace
