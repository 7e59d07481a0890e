// CefExecuteProcess of the stand-in, driven with the arguments a runtime would
// start the sub-process with (the Windows build reads the real command line,
// so there the program itself is started instead).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "include/cef_app.h"
#include "web/cef_app_instance.h"

#ifndef _WIN32
namespace {

std::string TempPath(const char* name) {
  return std::string(::testing::TempDir()) + "kestro_web_" + std::to_string(::getpid()) + "_" + name;
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

int Execute(std::vector<std::string> words, CefRefPtr<CefApp> app) {
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(&w[0]);
  return CefExecuteProcess(CefMainArgs(static_cast<int>(argv.size()), argv.data()), app, nullptr);
}

TEST(SubProcessEntry, RendererRunsPagesAndItsCallsReachTheBrowserProcess) {
  std::string page = TempPath("page.js"), sub = TempPath("sub.js"), log = TempPath("log.txt");
  WriteText(page, "external.Download('a', 7, true, ['x', 2, 'y'], 1.5, null);");
  WriteText(sub, "external.closewindow();");
  std::remove(log.c_str());
  CefRefPtr<CCefAPPInstance> app = new CCefAPPInstance();
  EXPECT_EQ(Execute({"KestroWeb", "--type=renderer", "--kestro-page=" + page, "--kestro-subframe-page=" + sub,
                     "--kestro-message-log=" + log},
                    app.get()),
            0);
  EXPECT_EQ(ReadText(log), "Download(\"a\", 7, true, [\"x\", null, \"y\"], null, null)\nclosewindow()\n");
  std::remove(page.c_str());
  std::remove(sub.c_str());
  std::remove(log.c_str());
}

TEST(SubProcessEntry, BrowserProcessGoesOnAndOtherKindsEndAtOnce) {
  CefRefPtr<CCefAPPInstance> app = new CCefAPPInstance();
  EXPECT_EQ(Execute({"KestroWeb"}, app.get()), -1);
  EXPECT_EQ(Execute({"KestroWeb", "--type=gpu-process"}, app.get()), 0);
}

}  // namespace
#endif
