#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "include/cef_app.h"
#include "include/cef_version.h"
#include "web/runtime/host/renderer_host.h"
#include "web/runtime/src/sub_process.h"

namespace kestro {
namespace standin {

namespace {

// Paths arrive as UTF-8; Windows opens them by their wide form.
#if defined(_WIN32)
std::wstring FilePath(const std::string& path) { return CefString(path).ToWString(); }
#else
const std::string& FilePath(const std::string& path) { return path; }
#endif

bool ReadFile(const std::string& path, std::string* text) {
    std::ifstream in(FilePath(path).c_str(), std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    *text = buffer.str();
    return true;
}

// The process's words as UTF-8, program first.
std::vector<std::string> ProcessArguments(const CefMainArgs& args) {
    std::vector<std::string> words;
#if defined(_WIN32)
    for (int i = 0; i < __argc && __wargv; ++i) words.push_back(CefString(std::wstring(__wargv[i])).ToString());
#else
    for (int i = 0; i < args.argc && args.argv; ++i) words.push_back(args.argv[i] ? args.argv[i] : "");
#endif
    return words;
}

}  // namespace

int RunRendererProcess(CefRefPtr<CefApp> app, CefRefPtr<CefCommandLine> command_line) {
    std::string main_page, sub_page;
    std::string main_path = command_line->GetSwitchValue(kPageSwitch).ToString();
    std::string sub_path = command_line->GetSwitchValue(kSubFramePageSwitch).ToString();
    std::string log_path = command_line->GetSwitchValue(kMessageLogSwitch).ToString();
    if (!main_path.empty() && !ReadFile(main_path, &main_page)) return 1;
    if (!sub_path.empty() && !ReadFile(sub_path, &sub_page)) return 1;

    std::vector<SentMessage> sent;
    {
        Renderer renderer(app);
        int browser = renderer.CreateBrowser();
        if (!main_path.empty()) renderer.Run(renderer.MainFrame(browser), main_page);
        if (!sub_path.empty()) renderer.Run(renderer.CreateSubFrame(browser, "sub"), sub_page);
        sent = renderer.TakeSent();
    }
    if (log_path.empty()) return 0;
    std::ofstream log(FilePath(log_path).c_str(), std::ios::binary | std::ios::trunc);
    for (const SentMessage& m : sent) log << Describe(m) << "\n";
    return log ? 0 : 1;
}

}  // namespace standin
}  // namespace kestro

int CefExecuteProcess(const CefMainArgs& args, CefRefPtr<CefApp> application, void* windows_sandbox_info) {
    // A program built against other runtime headers must not run with this one.
    const char* hash = cef_api_hash(0);
    if (!hash || std::strcmp(hash, CEF_API_HASH_PLATFORM) != 0) return 0;

    std::vector<std::string> words = kestro::standin::ProcessArguments(args);
    std::vector<const char*> argv;
    for (const std::string& w : words) argv.push_back(w.c_str());
    CefRefPtr<CefCommandLine> command_line = CefCommandLine::CreateCommandLine();
    command_line->InitFromArgv(static_cast<int>(argv.size()), argv.data());

    CefString process_type = command_line->GetSwitchValue("type");
    // Without a process type this is the browser process: the caller goes on.
    if (process_type.empty()) return -1;
    if (application.get()) application->OnBeforeCommandLineProcessing(process_type, command_line);
    if (process_type == CefString("renderer")) return kestro::standin::RunRendererProcess(application, command_line);
    // GPU, plug-in and utility processes have no work in the stand-in.
    return 0;
}
