// The program linked against a runtime that reports another API hash.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "include/cef_app.h"
#include "include/cef_version.h"
#include "web/cef_app_instance.h"

namespace {

TEST(SubProcessEntry, MismatchedApiHashEndsWithZeroWithoutRunning) {
  ASSERT_STRNE(cef_api_hash(0), CEF_API_HASH_PLATFORM);
  std::string page = std::string(::testing::TempDir()) + "kestro_web_hash_" + std::to_string(::getpid()) + ".js";
  std::string log = page + ".log";
  std::ofstream(page) << "external.closewindow();";
  std::remove(log.c_str());

  std::vector<std::string> words = {"KestroWeb", "--type=renderer", "--kestro-page=" + page,
                                    "--kestro-message-log=" + log};
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(&w[0]);
  CefRefPtr<CCefAPPInstance> app = new CCefAPPInstance();
  EXPECT_EQ(CefExecuteProcess(CefMainArgs(static_cast<int>(argv.size()), argv.data()), app.get(), nullptr), 0);
  EXPECT_FALSE(std::ifstream(log).good()) << "the renderer must not have run";
  // Not even as the browser process: the caller must not go on either.
  words.resize(1);
  EXPECT_EQ(CefExecuteProcess(CefMainArgs(1, argv.data()), app.get(), nullptr), 0);
  EXPECT_EQ(app->GetRefCt(), 1);
  std::remove(page.c_str());
}

}  // namespace
